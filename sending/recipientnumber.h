#pragma once

#include <QString>

namespace parlix {

// The number handed to the gateway for a number as the user typed or stored
// it: one that already begins with "+" goes as it is, a leading "00" is the
// international "+", and any other number is Italian and gets "+39".
QString internationalNumber(const QString& number);

} // namespace parlix
