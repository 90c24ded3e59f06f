#pragma once

#include <QString>

#include <optional>

namespace parlix {

// Who logged in during this run of the program, if anyone did. The account
// form refuses to delete that user.
struct LoginSession
{
    std::optional<QString> user;
};

} // namespace parlix
