#pragma once

#include <string>
#include <string_view>

namespace qwirl {

// The request ticket: the MD5 digest (RFC 1321) of a byte string as 32 lower-case hexadecimal digits.
class Ticket
{
public:
    static std::string compute(std::string_view bytes);
};

} // namespace qwirl
