#pragma once

#include <QString>

#include <optional>

namespace parlix::numbers {

// The shortest decimal form in the user's locale, without group separators
// ("12,5" in Italian, "150").
QString format(double value);
// Accepts the locale's form and the plain C form; blanks at either end are
// ignored. Only finite numbers count: "nan" and "inf" are no value.
std::optional<double> parse(const QString& text);
// A count with its noun in the right number: "1 destinatario", "12 destinatari".
QString counted(qsizetype count, const QString& one, const QString& many);

} // namespace parlix::numbers
