#pragma once

#include "qwirl/hosts.h"

#include <optional>
#include <string>

namespace qwirl {

// The gateway's hosts and CA file as a deployment sets them, weakest first: the compiled defaults, the
// system file (/etc/parlix/gateway.conf, or gateway.conf in $PARLIX_GATEWAY_CONF_DIR), the user's file
// ($XDG_CONFIG_HOME/parlix/gateway.conf, by default ~/.config/parlix/gateway.conf) and the environment
// (QWIRL_SEND_HOST, QWIRL_NOTIFY_HOST, QWIRL_CA_FILE).
//
// The files hold "key = value" lines (send-host, notify-host, ca-file), blank lines and "#" comments. A
// malformed value leaves its host empty, and a file that cannot be read or holds a line that is no setting
// leaves both hosts empty, so nothing goes out unless a stronger layer sets them; never a fallback to a
// weaker layer. `problem` names the first fault in Italian.
struct HostLayers
{
    Hosts hosts;
    std::optional<std::string> problem;

    static HostLayers resolve();
};

} // namespace qwirl
