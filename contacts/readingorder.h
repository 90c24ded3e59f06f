#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>

#include <functional>
#include <vector>

namespace parlix {

// The order in which people read names and numbers: by the rules of the
// user's language (Italian when the locale names none), an accented letter
// beside its plain one, upper and lower case alike, and runs of digits by
// their value ("9" before "10").
class ReadingOrder
{
public:
    explicit ReadingOrder(const QLocale& locale = QLocale());

    bool less(const QString& left, const QString& right) const;
    // A key that compares as less() does, for sorting many texts.
    QCollatorSortKey key(const QString& text) const { return collator_.sortKey(text); }

    // The positions 0..count-1 in the order of text(position), equal texts in
    // their first order. Each text is read once, so long lists sort quickly.
    std::vector<size_t> order(size_t count, const std::function<QString(size_t)>& text) const;

private:
    QCollator collator_;
};

} // namespace parlix
