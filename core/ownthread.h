#pragma once

#include <QFuture>
#include <QPromise>
#include <QThread>

#include <exception>
#include <functional>
#include <memory>

namespace parlix {

// Runs `work` on a thread of its own that ends with it, and gives its result
// as a future. Used for gateway exchanges: the TLS library keeps per-thread
// state, which an idle pool thread would hold until the program exits.
// A failure inside `work` gives a default-constructed result.
template <typename T> QFuture<T> runOnOwnThread(std::function<T()> work)
{
    auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    QThread* thread = QThread::create([promise, work = std::move(work)] {
        promise->start();
        try {
            promise->addResult(work());
        } catch (...) {
            promise->addResult(T());
        }
        promise->finish();
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return future;
}

} // namespace parlix
