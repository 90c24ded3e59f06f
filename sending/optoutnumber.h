#pragma once

#include <QString>

#include <optional>

namespace parlix {

// The form in which the opt-out register keeps and compares numbers: E.164
// ("+393331234567") as libphonenumber makes it, a number without a country
// code being Italian. "+39 333 1234567", "3331234567" and "00393331234567"
// are then one number. Nothing for a text that is no telephone number
// (letters, too short or too long for any numbering plan). Throws StoreError
// (its message "manca il modulo ...") when the phone number module cannot be
// loaded, as this and nationalDigits cannot work without it.
std::optional<QString> optOutKey(const QString& number);

// The national significant number of a key made by optOutKey ("3331234567"
// for "+393331234567"): the digits every form of that number ends with.
QString nationalDigits(const QString& key);

} // namespace parlix
