#pragma once

#include "qwirl/transport.h"

namespace qwirl::cli {

// Asks for the proxy's user name and password on the controlling terminal (the password without echo).
// Without a terminal, or when the input ends, the request counts as cancelled.
class TerminalPrompt
{
public:
    static bool askProxyCredentials(ProxyCredentials& credentials);
};

} // namespace qwirl::cli
