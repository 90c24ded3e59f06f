#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace qwirl::gobject {

// What one member of the dispatch interface is: a property of some type, or a method with its arity.
enum class MemberKind { BooleanProperty, StringProperty, ShortProperty, Method };

struct Member
{
    int dispid;
    std::string_view name;
    MemberKind kind;
    std::size_t arguments; // methods only
};

// The control's eleven members in identifier order; names as the type library spells them.
std::optional<Member> memberById(int dispid);
// The member whose name equals `name` without regard to letter case (ASCII).
std::optional<Member> memberByName(std::string_view name);

} // namespace qwirl::gobject
