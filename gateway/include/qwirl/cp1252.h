#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qwirl {

// Conversion between the library's UTF-8 interface and the Windows-1252 bytes that the gateway's ticket,
// form encoding and wire format are defined on.
//
// A character that Windows-1252 cannot hold becomes '?', and so does every byte of the input that is not
// part of a well-formed UTF-8 sequence. The five byte values that Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) pass through as the C1 controls of the same number, as Windows itself does.
class Cp1252
{
public:
    static std::string fromUtf8(std::string_view utf8);
    static std::string toUtf8(std::string_view cp1252);

    // The leading part of `utf8` that converts to at most `characters` Windows-1252 bytes, cut at a
    // character boundary (every character and every malformed byte counts as one).
    static std::string_view utf8Prefix(std::string_view utf8, std::size_t characters);
};

} // namespace qwirl
