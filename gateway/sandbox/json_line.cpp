#include "json_line.h"

#include <cstdio>

namespace qwirl::sandbox {
namespace {

void appendEscaped(std::string& out, std::string_view value, bool bytes)
{
    out += '"';
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F || (bytes && c >= 0x80)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += ch;
        }
    }
    out += '"';
}

} // namespace

void JsonLine::appendKey(std::string_view key)
{
    if (text_.size() > 1) {
        text_ += ',';
    }
    appendEscaped(text_, key, false);
    text_ += ':';
}

JsonLine& JsonLine::add(std::string_view key, std::string_view utf8)
{
    appendKey(key);
    appendEscaped(text_, utf8, false);
    return *this;
}

JsonLine& JsonLine::addBytes(std::string_view key, std::string_view bytes)
{
    appendKey(key);
    appendEscaped(text_, bytes, true);
    return *this;
}

} // namespace qwirl::sandbox
