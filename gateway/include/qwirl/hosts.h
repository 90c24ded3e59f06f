#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qwirl {

// The two gateway hosts, each "host" or "host:port" (port 80 when none is given).
struct Hosts
{
    std::string send;   // Send and CheckCredits
    std::string notify; // SendNotify

    // The values fixed at build time (CMake cache variables QWIRL_SEND_HOST and QWIRL_NOTIFY_HOST).
    static Hosts compiledDefaults();

    // The compiled defaults, each overridden by the environment variable of the same name when that holds
    // a well-formed host; a malformed value is ignored.
    static Hosts fromEnvironment();

    // Both operations on one host, e.g. a local sandbox: Hosts::both("127.0.0.1:8080").
    static Hosts both(std::string host);

    // A host name, IPv4 address or bracketed IPv6 address, optionally followed by ":" and a port from 1 to
    // 65535; nothing that could change the request's path or add user information.
    static bool isWellFormed(std::string_view host);
};

} // namespace qwirl
