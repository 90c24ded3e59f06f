#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qwirl {

// The gateway's form-value encoding, byte by byte: letters, digits, '_' and '\'' as they are, a blank as
// '+', every other byte as '%' and two upper-case hexadecimal digits.
class FormEncoding
{
public:
    static std::string encode(std::string_view bytes);

    // The reverse, for the receiving side: '+' is a blank, "%XX" (either case) is one byte. A '%' that is
    // not followed by two hexadecimal digits makes the value malformed.
    static std::optional<std::string> decode(std::string_view value);
};

} // namespace qwirl
