#include "json_fields.h"

#include <cstdlib>

namespace qwirl::testing {
namespace {

void appendUtf8(std::string& out, unsigned long cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class Reader
{
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool consume(char c)
    {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool atEnd()
    {
        skipBlanks();
        return pos_ == text_.size();
    }

    std::optional<std::string> string()
    {
        if (!consume('"')) {
            return std::nullopt;
        }
        std::string out;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') {
                return out;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) {
                return std::nullopt;
            }
            const char e = text_[pos_++];
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'u': {
                auto cp = hex4();
                if (!cp) {
                    return std::nullopt;
                }
                if (*cp >= 0xD800 && *cp < 0xDC00 && text_.substr(pos_, 2) == "\\u") {
                    pos_ += 2;
                    const auto low = hex4();
                    if (!low) {
                        return std::nullopt;
                    }
                    cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
                }
                appendUtf8(out, *cp);
                break;
            }
            default:
                out += e;
            }
        }
        return std::nullopt;
    }

private:
    std::optional<unsigned long> hex4()
    {
        if (pos_ + 4 > text_.size()) {
            return std::nullopt;
        }
        const std::string digits(text_.substr(pos_, 4));
        char* end = nullptr;
        const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
        if (end != digits.c_str() + 4) {
            return std::nullopt;
        }
        pos_ += 4;
        return value;
    }

    void skipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) {
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::optional<std::map<std::string, std::string>> parseJsonLine(std::string_view line)
{
    Reader reader(line);
    std::map<std::string, std::string> fields;
    if (!reader.consume('{')) {
        return std::nullopt;
    }
    if (reader.consume('}')) {
        return reader.atEnd() ? std::optional(fields) : std::nullopt;
    }
    do {
        auto key = reader.string();
        if (!key || !reader.consume(':')) {
            return std::nullopt;
        }
        auto value = reader.string();
        if (!value) {
            return std::nullopt;
        }
        fields[*key] = std::move(*value);
    } while (reader.consume(','));
    if (!reader.consume('}') || !reader.atEnd()) {
        return std::nullopt;
    }
    return fields;
}

} // namespace qwirl::testing
