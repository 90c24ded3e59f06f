// The gateway's answers come from the network: no text may crash the parser, and a parsed credit is never
// negative.
#include "qwirl/answer_parser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    const long sent = qwirl::AnswerParser::sendResult(answer);
    if (sent < 0 || sent > 12) {
        std::abort();
    }
    if (qwirl::AnswerParser::creditResult(answer) < -1) {
        std::abort();
    }
    return 0;
}
