#pragma once

#include "qwirl/transport.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace qwirl {

struct Timeouts
{
    // Giving up on a connection that is not established by then.
    std::chrono::milliseconds connect{60000};
    // Giving up on an exchange that has moved no data for this long (checked about once a second).
    std::chrono::milliseconds idle{30000};
};

// The transport over libcurl: one easy handle per exchange, HTTP/1.0, no connection reuse. A host written
// "https://..." is reached over TLS only, with its certificate and host name checked against the CA file
// given, or the system's certificate authorities when none is.
//
// The session holds the proxy settings read when it was created; normally it lives for one exchange only,
// but a declined go-online request leaves it open and the next exchange uses it as it is.
// Not thread-safe: one instance serves one exchange at a time, on one thread.
class CurlTransport final : public Transport
{
public:
    // The response body is read no further than this; the answer is what came until then.
    static constexpr std::size_t MaxAnswerBytes = std::size_t{1} << 20;
    // How often the proxy-credential callback may send the request again before the exchange is cancelled.
    static constexpr int MaxProxyAuthRounds = 10;

    explicit CurlTransport(Timeouts timeouts = {}, std::string caFile = {});
    ~CurlTransport() override;
    CurlTransport(const CurlTransport&) = delete;
    CurlTransport& operator=(const CurlTransport&) = delete;

    int PostForm(const std::string& body, const std::string& path, const std::string& host,
                 const ProxySettings& proxy, std::string& answer) override;
    void CloseInternet() override;
    void setGoOnlineHook(GoOnlineHook hook) override;
    void setProxyCredentialsCallback(ProxyCredentialsCallback callback) override;

    // True unless the go-online hook was asked and declined.
    bool GoOnline(const std::string& url);

    bool hasSession() const { return session_ != nullptr; }
    bool hasConnection() const { return connection_ != nullptr; }

private:
    struct Session;
    struct Connection;

    int exchange(const std::string& body, const std::string& url, bool secure, std::string& answer);
    bool askProxyCredentials();

    Timeouts timeouts_;
    std::string caFile_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<Connection> connection_;
    bool onlineCheck_ = false;
    GoOnlineHook goOnline_;
    ProxyCredentialsCallback proxyCredentials_;
};

} // namespace qwirl
