#include "qwirl/answer_parser.h"

#include "qwirl/result_codes.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <string>

namespace qwirl {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The answer without what some gateways and proxies put before it: blanks,
// blank lines and UTF-8 byte-order marks.
std::string_view withoutLead(std::string_view answer)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    for (;;) {
        if (!answer.empty() && isBlank(answer.front()))
            answer.remove_prefix(1);
        else if (answer.substr(0, bom.size()) == bom)
            answer.remove_prefix(bom.size());
        else
            return answer;
    }
}

bool startsWithOk(std::string_view answer)
{
    return withoutLead(answer).substr(0, 2) == "OK";
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace

long AnswerParser::sendResult(std::string_view answer)
{
    // Only an answer that starts with "OK" (after blanks, blank lines or a byte-order mark) is an
    // acceptance: "OK" met further on (a later line, or inside a word such as "TOKEN" of an error page)
    // must not turn a refusal into a success.
    if (startsWithOk(answer)) {
        return Result::Accepted;
    }
    const std::size_t at = lowered(answer).find("ko ");
    if (at == std::string::npos || at + 3 >= answer.size()) {
        return Result::Refused;
    }
    switch (answer[at + 3]) {
    case '1':
        return Result::RefusedKo1;
    case '2':
        return Result::RefusedKo2;
    case '3':
        return Result::RefusedKo3;
    case '9':
        return Result::RefusedKo9;
    default:
        return Result::Refused;
    }
}

long AnswerParser::creditResult(std::string_view answer)
{
    if (!startsWithOk(answer)) {
        return Result::NoCredit;
    }
    answer = withoutLead(answer);
    // The number starts after "OK" and one separator; the usual C rules apply (leading blanks, an optional
    // sign, digits up to the first other character, 0 when there are none).
    std::size_t pos = 3;
    while (pos < answer.size() && isBlank(answer[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < answer.size() && (answer[pos] == '+' || answer[pos] == '-')) {
        negative = answer[pos] == '-';
        ++pos;
    }
    // The credit must fit the 32-bit result the host reads; a larger or negative number is no credit the
    // gateway can mean, and -1 would be confused with the failure value.
    constexpr std::int64_t Largest = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; pos < answer.size() && answer[pos] >= '0' && answer[pos] <= '9'; ++pos) {
        value = value * 10 + (answer[pos] - '0');
        if (value > Largest) {
            return Result::NoCredit;
        }
    }
    if (negative && value != 0) {
        return Result::NoCredit;
    }
    return static_cast<long>(value);
}

} // namespace qwirl
