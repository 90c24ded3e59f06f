#pragma once

#include "sending/proxylogin.h"

#include <mutex>
#include <optional>

namespace parlix {

// Answers a proxy's demand for credentials for every gateway one factory
// makes. The user is asked once: what they give is kept for the run of the
// program and sent again, without asking, whenever a later exchange meets the
// proxy; they are asked again only when the proxy refuses what was kept.
//
// The gateway exchanges run on worker threads, but the prompt shows a window:
// it is always asked on the thread of the application object, the calling
// thread waiting for the answer. Safe to use from several threads at once.
class ProxyAuthenticator
{
public:
    explicit ProxyAuthenticator(ProxyPrompt prompt);

    // What to send after the proxy refused `lastSent`; nothing cancels the
    // exchange.
    std::optional<ProxyLogin> next(const ProxyLogin& lastSent);

    // The prompt asked on the application object's thread: directly when
    // called there, else through its event loop while the caller waits.
    // Nothing when there is no application object or the answer cannot come
    // (the object goes away before handling the request).
    static std::optional<ProxyLogin> askOnGuiThread(const ProxyPrompt& prompt, const QString& userName);

private:
    ProxyPrompt prompt_;
    std::mutex mutex_;
    std::optional<ProxyLogin> kept_;
};

} // namespace parlix
