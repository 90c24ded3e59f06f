#pragma once

#include <string>
#include <string_view>

namespace qwirl {

// The answer text as the control's methods read it: the response body's lines, each ended by CR LF.
class ResponseText
{
public:
    // A line ends at a line feed; carriage returns are dropped wherever they are; a last line without a
    // line feed still counts.
    static std::string joinLines(std::string_view body);
};

} // namespace qwirl
