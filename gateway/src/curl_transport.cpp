#include "qwirl/curl_transport.h"

#include "curl_error_map.h"
#include "qwirl/cp1252.h"
#include "qwirl/hosts.h"
#include "qwirl/response_text.h"
#include "qwirl/result_codes.h"

#include <curl/curl.h>

#include <chrono>
#include <mutex>
#include <new>

namespace qwirl {
namespace {

constexpr const char* UserAgent = "Brevitor 1.0X";

bool globalInit()
{
    static std::once_flag once;
    static CURLcode result = CURLE_FAILED_INIT;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return result == CURLE_OK;
}

// Collects the response body up to the answer limit.
struct BodySink
{
    std::string body;
    bool overflow = false;

    static size_t write(char* data, size_t size, size_t count, void* userdata)
    {
        auto* sink = static_cast<BodySink*>(userdata);
        const size_t length = size * count;
        const size_t room = CurlTransport::MaxAnswerBytes - sink->body.size();
        if (length > room) {
            sink->body.append(data, room);
            sink->overflow = true;
            return 0; // stops the transfer: nothing more is read
        }
        sink->body.append(data, length);
        return length;
    }
};

// Ends an exchange that has moved no data, sent or received, for the idle time-out. libcurl's own
// low-speed limit averages over several seconds, which would stretch the time-out by as much.
struct IdleWatch
{
    std::chrono::milliseconds limit;
    std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();
    curl_off_t lastBytes = 0;
    bool expired = false;

    static int check(void* userdata, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded)
    {
        auto* watch = static_cast<IdleWatch*>(userdata);
        const auto now = std::chrono::steady_clock::now();
        if (downloaded + uploaded != watch->lastBytes) {
            watch->lastBytes = downloaded + uploaded;
            watch->lastActivity = now;
            return 0;
        }
        if (now - watch->lastActivity >= watch->limit) {
            watch->expired = true;
            return 1;
        }
        return 0;
    }

    void restart()
    {
        lastActivity = std::chrono::steady_clock::now();
        lastBytes = 0;
        expired = false;
    }
};

} // namespace

struct CurlTransport::Session
{
    ProxySettings proxy;
};

struct CurlTransport::Connection
{
    CURL* handle = nullptr;
    curl_slist* headers = nullptr;

    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection()
    {
        curl_slist_free_all(headers);
        if (handle != nullptr) {
            curl_easy_cleanup(handle);
        }
    }
};

CurlTransport::CurlTransport(Timeouts timeouts, std::string caFile)
    : timeouts_(timeouts), caFile_(std::move(caFile))
{}

CurlTransport::~CurlTransport()
{
    CloseInternet();
}

void CurlTransport::setGoOnlineHook(GoOnlineHook hook)
{
    goOnline_ = std::move(hook);
}

void CurlTransport::setProxyCredentialsCallback(ProxyCredentialsCallback callback)
{
    proxyCredentials_ = std::move(callback);
}

bool CurlTransport::GoOnline(const std::string& url)
{
    if (!goOnline_) {
        return true;
    }
    onlineCheck_ = true;
    try {
        return goOnline_(url);
    } catch (...) {
        return false;
    }
}

void CurlTransport::CloseInternet()
{
    connection_.reset();
    session_.reset();
    onlineCheck_ = false;
}

int CurlTransport::PostForm(const std::string& body, const std::string& path, const std::string& host,
                            const ProxySettings& proxy, std::string& answer)
{
    if (!session_) {
        if (!globalInit()) {
            return WinInetError::InternalError;
        }
        try {
            session_ = std::make_unique<Session>(Session{proxy});
        } catch (const std::bad_alloc&) {
            return static_cast<int>(Result::NoSession);
        }
    }
    const std::string site = Hosts::siteOf(host);
    if (!GoOnline(site)) {
        return static_cast<int>(Result::Offline); // the session stays for the next exchange
    }
    if (!connection_) {
        try {
            connection_ = std::make_unique<Connection>();
        } catch (const std::bad_alloc&) {
            CloseInternet();
            return static_cast<int>(Result::NoConnection);
        }
        connection_->handle = curl_easy_init();
        if (connection_->handle == nullptr) {
            CloseInternet();
            return static_cast<int>(Result::NoConnection);
        }
    }
    int result = 0;
    try {
        result = exchange(body, site + path, Hosts::isSecure(host), answer);
    } catch (const std::bad_alloc&) {
        result = WinInetError::InternalError;
    }
    CloseInternet();
    return result;
}

int CurlTransport::exchange(const std::string& body, const std::string& url, bool secure, std::string& answer)
{
    CURL* h = connection_->handle;
    curl_slist_free_all(connection_->headers);
    connection_->headers = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
    if (connection_->headers == nullptr) {
        return WinInetError::InternalError;
    }
    // No accept types, as the request has always been sent.
    curl_slist* withAccept = curl_slist_append(connection_->headers, "Accept:");
    if (withAccept == nullptr) {
        return WinInetError::InternalError;
    }
    connection_->headers = withAccept;

    BodySink sink;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    // A https host is never reached in plain text, nor with a certificate that fails its checks.
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, secure ? "https" : "http");
    if (secure) {
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
        if (!caFile_.empty()) {
            curl_easy_setopt(h, CURLOPT_CAINFO, caFile_.c_str());
        }
    }
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_USERAGENT, UserAgent);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, connection_->headers);
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts_.connect.count()));
    IdleWatch idle{timeouts_.idle};
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &IdleWatch::check);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &idle);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &BodySink::write);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);

    const ProxySettings& proxy = session_->proxy;
    std::string proxyLogin;
    std::string proxyPassword;
    if (!proxy.address.empty()) {
        curl_easy_setopt(h, CURLOPT_PROXY, proxy.address.c_str());
        proxyPassword = Cp1252::fromUtf8(proxy.password);
        proxyLogin = Cp1252::fromUtf8(proxy.login);
        if (!proxyPassword.empty()) {
            curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, proxyPassword.c_str());
        }
        if (!proxyLogin.empty()) {
            curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, proxyLogin.c_str());
        }
    }

    for (int round = 1;; ++round) {
        sink.body.clear();
        sink.overflow = false;
        idle.restart();
        const CURLcode code = curl_easy_perform(h);
        if (code == CURLE_ABORTED_BY_CALLBACK && idle.expired) {
            return WinInetError::Timeout;
        }
        if (code != CURLE_OK && !(code == CURLE_WRITE_ERROR && sink.overflow)) {
            long verifyResult = 0;
            curl_easy_getinfo(h, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
            return winInetErrorFor(code, verifyResult);
        }
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        if (status != 407) {
            answer = ResponseText::joinLines(sink.body);
            return 0;
        }
        if (round >= MaxProxyAuthRounds || !askProxyCredentials()) {
            return static_cast<int>(Result::ProxyAuthCancelled);
        }
        proxyLogin = Cp1252::fromUtf8(session_->proxy.login);
        proxyPassword = Cp1252::fromUtf8(session_->proxy.password);
        curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, proxyLogin.c_str());
        curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, proxyPassword.c_str());
    }
}

bool CurlTransport::askProxyCredentials()
{
    if (!proxyCredentials_) {
        return false;
    }
    ProxySettings& proxy = session_->proxy;
    ProxyCredentials credentials{proxy.address, proxy.login, proxy.password};
    try {
        if (!proxyCredentials_(credentials)) {
            return false;
        }
    } catch (...) {
        return false;
    }
    proxy.login = std::move(credentials.login);
    proxy.password = std::move(credentials.password);
    return true;
}

} // namespace qwirl
