#include "qwirl/hosts.h"

#include "host_layers.h"

#include <algorithm>
#include <cstdlib>

#ifndef QWIRL_DEFAULT_SEND_HOST
#error "QWIRL_DEFAULT_SEND_HOST must be defined by the build"
#endif
#ifndef QWIRL_DEFAULT_NOTIFY_HOST
#error "QWIRL_DEFAULT_NOTIFY_HOST must be defined by the build"
#endif

namespace qwirl {
namespace {

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool isValidPort(std::string_view port)
{
    if (port.empty() || port.size() > 5 ||
        !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const long value = std::strtol(std::string(port).c_str(), nullptr, 10);
    return value >= 1 && value <= 65535;
}

} // namespace

Hosts Hosts::compiledDefaults()
{
    return {QWIRL_DEFAULT_SEND_HOST, QWIRL_DEFAULT_NOTIFY_HOST, {}};
}

Hosts Hosts::fromEnvironment()
{
    return HostLayers::resolve().hosts;
}

std::optional<std::string> Hosts::configurationProblem()
{
    return HostLayers::resolve().problem;
}

Hosts Hosts::both(std::string host)
{
    return {host, host, {}};
}

namespace {
constexpr std::string_view SecureScheme = "https://";
} // namespace

bool Hosts::isSecure(std::string_view host)
{
    return host.starts_with(SecureScheme);
}

std::string Hosts::siteOf(std::string_view host)
{
    return isSecure(host) ? std::string(host) : "http://" + std::string(host);
}

bool Hosts::isWellFormed(std::string_view host)
{
    if (isSecure(host)) {
        host.remove_prefix(SecureScheme.size());
    }
    std::string_view name = host;
    std::string_view port;
    if (host.starts_with('[')) {
        const std::size_t close = host.find(']');
        if (close == std::string_view::npos || close == 1) {
            return false;
        }
        const std::string_view address = host.substr(1, close - 1);
        if (!std::all_of(address.begin(), address.end(), [](char c) {
                return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') ||
                       c == ':' || c == '.';
            })) {
            return false;
        }
        const std::string_view rest = host.substr(close + 1);
        if (rest.empty()) {
            return true;
        }
        return rest.front() == ':' && isValidPort(rest.substr(1));
    }
    const std::size_t colon = host.find(':');
    if (colon != std::string_view::npos) {
        name = host.substr(0, colon);
        port = host.substr(colon + 1);
        if (!isValidPort(port)) {
            return false;
        }
    }
    return !name.empty() && std::all_of(name.begin(), name.end(), isNameChar);
}

} // namespace qwirl
