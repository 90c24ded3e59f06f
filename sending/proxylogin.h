#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace parlix {

// The user name and password an authenticating proxy asks for.
struct ProxyLogin
{
    QString userName;
    QString password;

    friend bool operator==(const ProxyLogin&, const ProxyLogin&) = default;
};

// Asks the user for the proxy's credentials, offering `userName` (the one
// last given, or empty); nothing when the user cancels. Called on the
// user-interface thread only.
using ProxyPrompt = std::function<std::optional<ProxyLogin>(const QString& userName)>;

} // namespace parlix
