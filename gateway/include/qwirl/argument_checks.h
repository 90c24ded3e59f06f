#pragma once

#include <optional>
#include <string_view>

namespace qwirl {

// The argument checks of the control's methods. An absent argument (std::nullopt) is distinct from an
// empty one.
class ArgumentChecks
{
public:
    static constexpr std::size_t MaxMessageIdLength = 20;

    // "+" followed by decimal digits only; a lone "+" passes, there is no length limit.
    static bool IsValidNumber(std::optional<std::string_view> number);

    // 1 to 20 decimal digits.
    static bool isValidMessageId(std::optional<std::string_view> messageId);
};

} // namespace qwirl
