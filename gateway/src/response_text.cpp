#include "qwirl/response_text.h"

namespace qwirl {

std::string ResponseText::joinLines(std::string_view body)
{
    std::string answer;
    answer.reserve(body.size() + body.size() / 8 + 2);
    bool openLine = false;
    for (const char c : body) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            answer += "\r\n";
            openLine = false;
        } else {
            answer += c;
            openLine = true;
        }
    }
    if (openLine) {
        answer += "\r\n";
    }
    return answer;
}

} // namespace qwirl
