#pragma once

#include "qwirl/transport.h"

#include <string>
#include <vector>

namespace qwirl::testing {

// A transport that records every exchange and answers with a scripted code and text.
class RecordingTransport : public Transport
{
public:
    struct Exchange
    {
        std::string body;
        std::string path;
        std::string host;
        ProxySettings proxy;
    };

    RecordingTransport(std::vector<Exchange>& exchanges, int code, std::string answer)
        : exchanges_(exchanges), code_(code), answer_(std::move(answer))
    {}

    int PostForm(const std::string& body, const std::string& path, const std::string& host,
                 const ProxySettings& proxy, std::string& answer) override
    {
        exchanges_.push_back({body, path, host, proxy});
        answer = answer_;
        return code_;
    }
    void CloseInternet() override {}
    void setGoOnlineHook(GoOnlineHook) override {}
    void setProxyCredentialsCallback(ProxyCredentialsCallback) override {}

private:
    std::vector<Exchange>& exchanges_;
    int code_;
    std::string answer_;
};

} // namespace qwirl::testing
