#include "form_fields.h"

#include "qwirl/form_encoding.h"

namespace qwirl::sandbox {

std::optional<FormFields> FormFields::parse(std::string_view body)
{
    FormFields form;
    while (!body.empty()) {
        const std::size_t amp = body.find('&');
        const std::string_view pair = body.substr(0, amp);
        body = amp == std::string_view::npos ? std::string_view{} : body.substr(amp + 1);
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos) {
            return std::nullopt;
        }
        auto name = FormEncoding::decode(pair.substr(0, eq));
        auto value = FormEncoding::decode(pair.substr(eq + 1));
        if (!name || !value || !form.fields_.emplace(std::move(*name), std::move(*value)).second) {
            return std::nullopt;
        }
    }
    return form;
}

std::optional<std::string> FormFields::value(const std::string& name) const
{
    const auto it = fields_.find(name);
    if (it == fields_.end()) {
        return std::nullopt;
    }
    return it->second;
}

} // namespace qwirl::sandbox
