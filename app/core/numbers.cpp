#include "numbers.h"

#include <QLocale>

namespace parlix::numbers {

QString format(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<double> parse(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    double value = locale.toDouble(trimmed, &ok);
    if (ok)
        return value;
    value = QLocale::c().toDouble(trimmed, &ok);
    if (ok)
        return value;
    return std::nullopt;
}

} // namespace parlix::numbers
