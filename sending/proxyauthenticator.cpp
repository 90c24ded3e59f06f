#include "proxyauthenticator.h"

#include <QCoreApplication>
#include <QThread>

namespace parlix {

ProxyAuthenticator::ProxyAuthenticator(ProxyPrompt prompt) : prompt_(std::move(prompt)) {}

std::optional<ProxyLogin> ProxyAuthenticator::next(const ProxyLogin& lastSent)
{
    QString offered = lastSent.userName;
    {
        const std::lock_guard lock(mutex_);
        if (kept_ && *kept_ != lastSent)
            return kept_;
        if (kept_)
            offered = kept_->userName;
    }
    // Not under the lock: the prompt waits for the user.
    std::optional<ProxyLogin> answer = askOnGuiThread(prompt_, offered);
    if (answer) {
        const std::lock_guard lock(mutex_);
        kept_ = answer;
    }
    return answer;
}

std::optional<ProxyLogin> ProxyAuthenticator::askOnGuiThread(const ProxyPrompt& prompt,
                                                             const QString& userName)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!prompt || !application)
        return std::nullopt;
    if (QThread::currentThread() == application->thread())
        return prompt(userName);
    // A request dropped unhandled (the application going away) still
    // releases the waiting thread, with no answer.
    std::optional<ProxyLogin> answer;
    QMetaObject::invokeMethod(
        application, [&] { answer = prompt(userName); }, Qt::BlockingQueuedConnection);
    return answer;
}

} // namespace parlix
