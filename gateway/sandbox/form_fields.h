#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qwirl::sandbox {

// The decoded fields of an application/x-www-form-urlencoded body.
class FormFields
{
public:
    // Nothing when the body is malformed: a bad percent escape, a field without '=', or a name given twice.
    static std::optional<FormFields> parse(std::string_view body);

    // The decoded value, or nothing when the field is missing.
    std::optional<std::string> value(const std::string& name) const;

private:
    std::map<std::string, std::string> fields_;
};

} // namespace qwirl::sandbox
