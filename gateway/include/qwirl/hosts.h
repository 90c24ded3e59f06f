#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qwirl {

// The two gateway hosts, each "host" or "host:port" (plain HTTP, port 80 when none is given) or
// "https://host" or "https://host:port" (TLS with the certificate and host name checked, port 443 when none
// is given).
struct Hosts
{
    std::string send;   // Send and CheckCredits
    std::string notify; // SendNotify
    // The certificate authorities trusted for a https host, as a PEM file; empty: the system's own.
    std::string caFile;

    // The values fixed at build time (CMake cache variables QWIRL_SEND_HOST and QWIRL_NOTIFY_HOST).
    static Hosts compiledDefaults();

    // The hosts and CA file as the deployment sets them, weakest first: the compiled defaults,
    // /etc/parlix/gateway.conf (the folder may be moved with PARLIX_GATEWAY_CONF_DIR), the user's
    // $XDG_CONFIG_HOME/parlix/gateway.conf (by default ~/.config), and the environment variables
    // QWIRL_SEND_HOST, QWIRL_NOTIFY_HOST and QWIRL_CA_FILE (set and not empty). The files hold
    // "key = value" lines (keys send-host, notify-host, ca-file) and "#" comments. A malformed value or file
    // gives an empty host, never a weaker layer's: a typo must not send real messages with a real login to
    // the production gateway. Control refuses to talk to an empty host.
    static Hosts fromEnvironment();

    // What is wrong in the files or variables above, in Italian, e.g.
    // `QWIRL_SEND_HOST "http://x" non è "host", "host:porta" o "https://host[:porta]"`; nothing when all
    // is well.
    static std::optional<std::string> configurationProblem();

    // Both operations on one host, e.g. a local sandbox: Hosts::both("127.0.0.1:8080").
    static Hosts both(std::string host);

    // A host name, IPv4 address or bracketed IPv6 address, optionally followed by ":" and a port from 1 to
    // 65535, optionally preceded by "https://"; nothing that could change the request's path or add user
    // information.
    static bool isWellFormed(std::string_view host);
    // True for a host written "https://...".
    static bool isSecure(std::string_view host);
    // The address of the host's site: "http://" + host for a plain host, the host itself for a https one.
    static std::string siteOf(std::string_view host);
};

} // namespace qwirl
