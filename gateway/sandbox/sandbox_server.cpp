#include "sandbox_server.h"

#include "base64.h"
#include "json_line.h"

#include <httplib.h>

#include <algorithm>
#include <set>

namespace qwirl::sandbox {
namespace {

constexpr std::size_t MaxRequestBody = std::size_t{1} << 20;
constexpr std::size_t HugeAnswerLine = 64;
constexpr std::size_t Workers = 128;

// The path of a request target in origin form ("/sms-gw/sendsmart") or in the absolute form that a proxy
// receives ("http://host:port/sms-gw/sendsmart"); the query is dropped.
std::string pathOf(const std::string& target)
{
    std::string path = target;
    if (path.size() >= 7 && std::equal(path.begin(), path.begin() + 7, "http://", [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        })) {
        const std::size_t slash = path.find('/', 7);
        path = slash == std::string::npos ? "/" : path.substr(slash);
    }
    return path.substr(0, path.find('?'));
}

// Byte `pos` of a huge answer: "OK", then lines of 'x' of HugeAnswerLine bytes each, line feed included.
char hugeAnswerByte(std::size_t pos)
{
    constexpr std::string_view Head = "OK\n";
    if (pos < Head.size()) {
        return Head[pos];
    }
    return (pos - Head.size()) % HugeAnswerLine == HugeAnswerLine - 1 ? '\n' : 'x';
}

std::string headerOrEmpty(const httplib::Request& request, const char* name)
{
    return request.get_header_value(name);
}

} // namespace

SandboxServer::SandboxServer(const SandboxOptions& options)
    : options_(options), log_(options.logPath), trace_(options.tracePath),
      service_({options.login, options.password}, options.credit,
               std::set<std::string>(options.refused.begin(), options.refused.end()), log_),
      server_(options.tlsCertPath.empty() ? std::make_unique<httplib::Server>()
                                          : std::make_unique<httplib::SSLServer>(options.tlsCertPath.c_str(),
                                                                                 options.tlsKeyPath.c_str()))
{
    // Every connection holds a worker while it is open, idle or sending slowly; with workers to spare for
    // those, a well-formed request is still served at once.
    server_->new_task_queue = [] { return new httplib::ThreadPool(Workers); };
    server_->set_read_timeout(2, 0);
    server_->set_keep_alive_timeout(2);
    if (options_.proxyAuth) {
        expectedProxyAuthorization_ = "Basic " + base64Encode(*options_.proxyAuth);
    }
    server_->Post(".*", [this](const httplib::Request& request, httplib::Response& response,
                               const httplib::ContentReader& reader) {
        std::string body;
        bool tooLarge = false;
        const bool complete = reader([&](const char* data, std::size_t length) {
            if (body.size() + length > MaxRequestBody) {
                tooLarge = true;
                return false;
            }
            body.append(data, length);
            return true;
        });
        if (tooLarge) {
            response.status = 413;
            response.set_content("KO 3", "text/plain");
            return;
        }
        // A body shorter than its Content-Length is no request: processing it would take a credit for a
        // mangled message.
        if (!complete) {
            response.status = 400;
            response.set_content("KO 3", "text/plain");
            return;
        }
        handle(request, body, response);
    });
}

SandboxServer::~SandboxServer() = default;

bool SandboxServer::logsOpen() const
{
    return (options_.logPath.empty() || log_.isOpen()) && (options_.tracePath.empty() || trace_.isOpen());
}

bool SandboxServer::certificateLoaded() const
{
    return server_->is_valid();
}

int SandboxServer::bind()
{
    if (options_.port == 0) {
        return server_->bind_to_any_port("127.0.0.1");
    }
    return server_->bind_to_port("127.0.0.1", options_.port) ? options_.port : -1;
}

bool SandboxServer::serve()
{
    return server_->listen_after_bind();
}

void SandboxServer::stop()
{
    {
        const std::lock_guard lock(stopMutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    server_->stop();
}

bool SandboxServer::waitDelay()
{
    std::unique_lock lock(stopMutex_);
    return !stopped_.wait_for(lock, options_.delay, [this] { return stopping_; });
}

bool SandboxServer::proxyAuthorized(const httplib::Request& request) const
{
    return !options_.proxyAuth ||
           request.get_header_value("Proxy-Authorization") == expectedProxyAuthorization_;
}

void SandboxServer::handle(const httplib::Request& request, const std::string& body,
                           httplib::Response& response)
{
    JsonLine trace;
    trace.addBytes("method", request.method)
        .addBytes("target", request.target)
        .addBytes("version", request.version)
        .addBytes("user_agent", headerOrEmpty(request, "User-Agent"))
        .addBytes("content_type", headerOrEmpty(request, "Content-Type"));
    if (request.has_header("Accept")) {
        trace.addBytes("accept", headerOrEmpty(request, "Accept"));
    }
    if (request.has_header("Proxy-Authorization")) {
        trace.addBytes("proxy_authorization", headerOrEmpty(request, "Proxy-Authorization"));
    }
    trace_.append(trace.addBytes("body", body).text());

    if (options_.delay.count() > 0 && !waitDelay()) {
        response.status = 503;
        return;
    }
    if (!proxyAuthorized(request)) {
        response.status = 407;
        response.set_header("Proxy-Authenticate", "Basic realm=\"qwirl-sandbox\"");
        response.set_content("Proxy authentication required\n", "text/plain");
        return;
    }
    response.status = options_.status;
    if (options_.hugeAnswerBytes > 0) {
        response.set_content_provider(options_.hugeAnswerBytes, "text/plain",
                                      [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                          std::string chunk(std::min<std::size_t>(length, 65536), '\0');
                                          for (std::size_t i = 0; i < chunk.size(); ++i) {
                                              chunk[i] = hugeAnswerByte(offset + i);
                                          }
                                          return sink.write(chunk.data(), chunk.size());
                                      });
        return;
    }
    if (options_.fixedAnswer) {
        response.set_content(*options_.fixedAnswer, "text/plain");
        return;
    }
    response.set_content(service_.answer(pathOf(request.target), body), "text/plain");
}

} // namespace qwirl::sandbox
