#include "readingorder.h"

#include <algorithm>
#include <numeric>

namespace parlix {

namespace {

QLocale languageOf(const QLocale& locale)
{
    return locale.language() == QLocale::C ? QLocale(QLocale::Italian, QLocale::Italy) : locale;
}

} // namespace

ReadingOrder::ReadingOrder(const QLocale& locale) : collator_(languageOf(locale))
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(true);
}

bool ReadingOrder::less(const QString& left, const QString& right) const
{
    return collator_.compare(left, right) < 0;
}

std::vector<size_t> ReadingOrder::order(size_t count, const std::function<QString(size_t)>& text) const
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(count);
    for (size_t i = 0; i < count; ++i)
        keys.push_back(key(text(i)));
    std::vector<size_t> positions(count);
    std::iota(positions.begin(), positions.end(), size_t{0});
    std::stable_sort(positions.begin(), positions.end(),
                     [&keys](size_t a, size_t b) { return keys[a].compare(keys[b]) < 0; });
    return positions;
}

} // namespace parlix
