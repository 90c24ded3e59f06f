#pragma once

#include <functional>
#include <string>

namespace qwirl {

// The proxy properties of the control as one exchange sees them (UTF-8).
struct ProxySettings
{
    std::string address; // empty: the system's own proxy configuration
    std::string login;
    std::string password;
};

// Handed to the host's proxy-credential callback when a proxy answers 407: the proxy in use and the
// credentials last sent, which the callback may replace.
struct ProxyCredentials
{
    std::string proxy;
    std::string login;
    std::string password;
};

// Asked before every exchange with the host's site (Hosts::siteOf: "http://" + host, or the https
// host as written); false means the user declined to go
// online. Without a hook the system counts as online.
using GoOnlineHook = std::function<bool(const std::string& url)>;

// Asked when the proxy demands authentication; true sends the same request again with the credentials
// as the callback left them, false cancels the exchange. Without a callback a 407 counts as cancelled.
using ProxyCredentialsCallback = std::function<bool(ProxyCredentials& credentials)>;

// One HTTP form post to a gateway host, with the session life cycle of the control: nothing survives an
// exchange except a session kept after a declined go-online request.
class Transport
{
public:
    virtual ~Transport() = default;

    // Posts `body` to the host's site + path. Returns 0 with every line of the response body, each ended
    // by CR LF, in `answer`; or a non-zero code: 7, 8, 9, 13 or a WinInet-style number above 12000.
    virtual int PostForm(const std::string& body, const std::string& path, const std::string& host,
                         const ProxySettings& proxy, std::string& answer) = 0;

    // Releases the connection, the session and the online check, each only if present.
    virtual void CloseInternet() = 0;

    virtual void setGoOnlineHook(GoOnlineHook hook) = 0;
    virtual void setProxyCredentialsCallback(ProxyCredentialsCallback callback) = 0;
};

} // namespace qwirl
