#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qwirl::testing {

// Reads one line of the sandbox's log or trace: a flat JSON object whose values are strings. Nothing
// when the line is not such an object.
std::optional<std::map<std::string, std::string>> parseJsonLine(std::string_view line);

} // namespace qwirl::testing
