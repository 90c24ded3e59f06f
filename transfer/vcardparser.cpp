// The vCard parser module: Evolution's contacts library behind the plain
// entry points of vcardparser.h. Only these two symbols are exported.
#include "vcardparser.h"

#include <libebook-contacts/libebook-contacts.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

struct GObjectRelease
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct NameRelease
{
    void operator()(ENameWestern* name) const { e_name_western_free(name); }
};

const char* valueAt(GList* values, int index)
{
    for (; values && index > 0; --index)
        values = values->next;
    return values ? static_cast<const char*>(values->data) : nullptr;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && g_ascii_isspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && g_ascii_isspace(text.back()))
        text.remove_suffix(1);
    return text;
}

// One of the types a TYPE value lists: CELL,VOICE or "cell,voice".
bool listsType(std::string_view types, std::string_view wanted)
{
    std::string unquoted;
    for (const char c : types)
        if (c != '"')
            unquoted += c;
    std::string_view rest = unquoted;
    for (;;) {
        const size_t comma = rest.find(',');
        const std::string_view type = trimmed(rest.substr(0, comma));
        if (type.size() == wanted.size() && g_ascii_strncasecmp(type.data(), wanted.data(), type.size()) == 0)
            return true;
        if (comma == std::string_view::npos)
            return false;
        rest.remove_prefix(comma + 1);
    }
}

// The types of a property: TYPE=CELL,VOICE, TYPE="cell,voice", TYPE=CELL;TYPE=PREF
// and the bare parameters of 2.1 (TEL;CELL), which the library files under TYPE.
bool hasType(EVCardAttribute* attribute, std::string_view wanted)
{
    for (GList* param = e_vcard_attribute_get_params(attribute); param; param = param->next) {
        auto* current = static_cast<EVCardAttributeParam*>(param->data);
        if (g_ascii_strcasecmp(e_vcard_attribute_param_get_name(current), EVC_TYPE) != 0)
            continue;
        for (GList* value = e_vcard_attribute_param_get_values(current); value; value = value->next)
            if (listsType(static_cast<const char*>(value->data), wanted))
                return true;
    }
    return false;
}

} // namespace

extern "C" __attribute__((visibility("default"))) void
parlix_vcard_read(const char* text, ParlixVcardPropertyVisitor visit, void* context)
{
    const std::unique_ptr<EVCard, GObjectRelease> card(e_vcard_new_from_string(text));
    for (GList* item = e_vcard_get_attributes(card.get()); item; item = item->next) {
        auto* attribute = static_cast<EVCardAttribute*>(item->data);
        const char* name = e_vcard_attribute_get_name(attribute);
        ParlixVcardProperty property{};
        if (g_ascii_strcasecmp(name, EVC_TEL) == 0) {
            property.kind = PARLIX_VCARD_TEL;
            property.cell = hasType(attribute, "CELL");
        } else if (g_ascii_strcasecmp(name, EVC_EMAIL) == 0) {
            property.kind = PARLIX_VCARD_EMAIL;
        } else if (g_ascii_strcasecmp(name, EVC_FN) == 0) {
            property.kind = PARLIX_VCARD_FN;
        } else if (g_ascii_strcasecmp(name, EVC_N) == 0) {
            property.kind = PARLIX_VCARD_N;
        } else {
            continue;
        }
        GList* values = e_vcard_attribute_get_values(attribute);
        property.value = valueAt(values, 0);
        property.second = valueAt(values, 1);
        visit(&property, context);
    }
}

extern "C" __attribute__((visibility("default"))) void
parlix_vcard_split_name(const char* formatted, ParlixVcardNameVisitor visit, void* context)
{
    const std::unique_ptr<ENameWestern, NameRelease> parts(e_name_western_parse(formatted));
    const ParlixVcardName name{parts->first, parts->middle, parts->last};
    visit(&name, context);
}

static_assert(std::is_same_v<decltype(&parlix_vcard_read), ParlixVcardRead>);
static_assert(std::is_same_v<decltype(&parlix_vcard_split_name), ParlixVcardSplitName>);
