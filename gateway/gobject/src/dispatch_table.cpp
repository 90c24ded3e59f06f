#include "dispatch_table.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace qwirl::gobject {
namespace {

constexpr std::array<Member, 11> Members = {{
    {1, "Flash", MemberKind::BooleanProperty, 0},
    {2, "Password", MemberKind::StringProperty, 0},
    {3, "Login", MemberKind::StringProperty, 0},
    {4, "Sender", MemberKind::StringProperty, 0},
    {5, "Send", MemberKind::Method, 2},
    {6, "ProxyAddress", MemberKind::StringProperty, 0},
    {7, "ProxyLogin", MemberKind::StringProperty, 0},
    {8, "ProxyPassword", MemberKind::StringProperty, 0},
    {9, "CheckCredits", MemberKind::Method, 0},
    {10, "SendNotify", MemberKind::Method, 3},
    {11, "Quality", MemberKind::ShortProperty, 0},
}};

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::optional<Member> memberById(int dispid)
{
    const auto found = std::ranges::find(Members, dispid, &Member::dispid);
    if (found == Members.end()) {
        return std::nullopt;
    }
    return *found;
}

std::optional<Member> memberByName(std::string_view name)
{
    const auto found =
        std::ranges::find_if(Members, [name](const Member& m) { return sameIgnoringCase(m.name, name); });
    if (found == Members.end()) {
        return std::nullopt;
    }
    return *found;
}

} // namespace qwirl::gobject
