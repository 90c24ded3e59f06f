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

    // The compiled defaults, each overridden by the environment variable of the same name when that is set
    // and not empty. A malformed value gives an empty host, never the default: a typo must not send real
    // messages with a real login to the production gateway. Control refuses to talk to an empty host.
    static Hosts fromEnvironment();

    // What is wrong with QWIRL_SEND_HOST or QWIRL_NOTIFY_HOST, e.g.
    // `QWIRL_SEND_HOST "http://x" is not "host" or "host:port"`; nothing when both are fine or unset.
    static std::optional<std::string> environmentProblem();

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
