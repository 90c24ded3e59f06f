#pragma once

#include <QString>

namespace parlix {

// Whether a number as the user typed it can be a telephone number at all:
// digits only, after an optional "+", and a length that some numbering plan
// allows once it is made international the way it is sent (Italy when it has
// no country code). Whether the number is in service is not known here.
// False for every number when the phone number module cannot be loaded.
bool isPossiblePhoneNumber(const QString& number);

} // namespace parlix
