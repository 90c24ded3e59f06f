#include "qwirl/answer_parser.h"
#include "qwirl/response_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qwirl::AnswerParser;
using qwirl::ResponseText;

TEST(QwirlAnswerParser, MapsSendAnswersToResultCodes)
{
    const struct
    {
        std::string answer;
        long expected;
    } cases[] = {
        {"OK\r\n", 0},
        {"OK", 0},
        {"OK 1499\r\n", 0},
        {"KO 1\r\n", 2},
        {"KO 2\r\n", 10},
        {"ko 3\r\n", 11},
        {"Ko 9", 12},
        {"KO 7\r\n", 1},
        {"KO ", 1},
        {"errore KO ", 1},
        {"Service unavailable\r\n", 1},
        {"", 1},
        {"\r\nerror: KO 1\r\n", 2},
        // Only an answer that starts with "OK" is an acceptance.
        {"KO 2\r\nOK\r\n", 10},
        {"KO 3 TOKEN scaduto\r\n", 11},
        {"<html>BROKEN</html>\r\n", 1},
        {"ok\r\n", 1},
        {"\r\n\r\nOK\r\n", 0},
        {"  \tOK\r\n", 0},
        {"\xEF\xBB\xBFOK\r\n", 0},
        {"\r\n\xEF\xBB\xBF OK 12\r\n", 0},
        {"\r\n<html>errore</html>\r\nOK\r\n", 1},
        {"\xEF\xBB\xBF\r\nKO 2\r\n", 10},
        {"\xEF\xBB\xBFok\r\n", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnswerParser::sendResult(c.answer), c.expected) << c.answer;
    }
}

TEST(QwirlAnswerParser, ReadsTheCreditAfterOkAndOneSeparator)
{
    const struct
    {
        std::string answer;
        long expected;
    } cases[] = {
        {"OK 250\r\n", 250},
        {"OK 1500", 1500},
        {"OK\r\n", 0},
        {"OK", 0},
        {"OK   42 SMS\r\n", 42},
        {"OK:77\r\n", 77},
        {"OK 12abc", 12},
        {"OK +5", 5},
        {"OK 2147483647", 2147483647},
        {"ok 250\r\n", -1},
        {"KO 1\r\n", -1},
        {"", -1},
        {" OK 250", 250},
        {"\r\n\xEF\xBB\xBFOK 30\r\n", 30},
        {"\r\n<p>OK 30</p>", -1},
        // No credit can be negative or beyond what the result holds.
        {"OK -5", -1},
        {"OK 2147483648", -1},
        {"OK 99999999999999999999999", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnswerParser::creditResult(c.answer), c.expected) << c.answer;
    }
}

TEST(QwirlResponseText, EndsEveryLineWithCrLfAndDropsCarriageReturns)
{
    const struct
    {
        std::string body;
        std::string expected;
    } cases[] = {
        {"OK", "OK\r\n"},
        {"OK\n", "OK\r\n"},
        {"KO 2\r\nOK\r\n", "KO 2\r\nOK\r\n"},
        {"uno\n\ndue", "uno\r\n\r\ndue\r\n"},
        {"a\rb\r\n", "ab\r\n"},
        {"\n", "\r\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResponseText::joinLines(c.body), c.expected) << c.body;
    }
}

} // namespace
