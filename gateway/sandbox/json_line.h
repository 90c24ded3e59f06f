#pragma once

#include <string>
#include <string_view>

namespace qwirl::sandbox {

// Builds one flat JSON object with string values, for the sandbox's log files.
class JsonLine
{
public:
    // `utf8` text is copied as it is apart from the escapes JSON needs.
    JsonLine& add(std::string_view key, std::string_view utf8);
    // Raw bytes of unknown encoding: every byte from 0x80 up is written as the code point of its value.
    JsonLine& addBytes(std::string_view key, std::string_view bytes);

    std::string text() const { return text_ + "}"; }

private:
    void appendKey(std::string_view key);

    std::string text_ = "{";
};

} // namespace qwirl::sandbox
