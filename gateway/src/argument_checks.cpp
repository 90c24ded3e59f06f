#include "qwirl/argument_checks.h"

#include <algorithm>

namespace qwirl {
namespace {

bool allDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool ArgumentChecks::IsValidNumber(std::optional<std::string_view> number)
{
    if (!number || number->empty() || number->front() != '+') {
        return false;
    }
    return allDigits(number->substr(1));
}

bool ArgumentChecks::isValidMessageId(std::optional<std::string_view> messageId)
{
    return messageId && !messageId->empty() && messageId->size() <= MaxMessageIdLength &&
           allDigits(*messageId);
}

} // namespace qwirl
