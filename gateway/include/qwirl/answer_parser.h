#pragma once

#include <string_view>

namespace qwirl {

// Turns the gateway's text answer into the number that the control's methods return.
// An answer "starts with" OK when OK comes first after any blanks, blank lines and UTF-8 byte-order
// marks; "OK" further on (another line, a word of an error page) never counts.
class AnswerParser
{
public:
    // Send and SendNotify: 0 when the answer starts with "OK"; otherwise the digit after the first "KO "
    // (any letter case) decides: 1 -> 2, 2 -> 10, 3 -> 11, 9 -> 12, anything else or nothing -> 1.
    static long sendResult(std::string_view answer);

    // CheckCredits: the credit after "OK" and one separator, or -1 when the answer does not start with
    // "OK" or the number is negative or out of range.
    static long creditResult(std::string_view answer);
};

} // namespace qwirl
