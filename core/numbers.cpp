#include "numbers.h"

#include <QLocale>

#include <cmath>

namespace parlix::numbers {

QString format(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // 'f' keeps 100000 from becoming "1E+05".
    return locale.toString(value, 'f', QLocale::FloatingPointShortest);
}

std::optional<double> parse(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    double value = locale.toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    // Qt also reads "nan" and "inf", which no credit or count can be.
    if (ok && std::isfinite(value))
        return value;
    return std::nullopt;
}

QString counted(qsizetype count, const QString& one, const QString& many)
{
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}

} // namespace parlix::numbers
