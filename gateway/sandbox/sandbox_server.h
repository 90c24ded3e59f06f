#pragma once

#include "gateway_service.h"
#include "line_file.h"
#include "sandbox_options.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace qwirl::sandbox {

// The HTTP side of the sandbox on 127.0.0.1: requests in origin form or proxy form, the fault switches,
// the request trace, and the gateway service behind them.
class SandboxServer
{
public:
    explicit SandboxServer(const SandboxOptions& options);
    ~SandboxServer();
    SandboxServer(const SandboxServer&) = delete;
    SandboxServer& operator=(const SandboxServer&) = delete;

    // Binds 127.0.0.1 on the configured port (0: a free one); returns the port, or -1.
    int bind();
    // Serves until stop() is called; false when serving failed.
    bool serve();
    // Callable from any thread; wakes delayed answers too.
    void stop();

    bool logsOpen() const;
    // False when TLS was asked for and the certificate or key could not be loaded.
    bool certificateLoaded() const;

private:
    void handle(const httplib::Request& request, const std::string& body, httplib::Response& response);
    bool proxyAuthorized(const httplib::Request& request) const;
    // Returns false when the sandbox is stopping.
    bool waitDelay();

    SandboxOptions options_;
    std::string expectedProxyAuthorization_;
    LineFile log_;
    LineFile trace_;
    GatewayService service_;
    std::unique_ptr<httplib::Server> server_;
    std::mutex stopMutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
};

} // namespace qwirl::sandbox
