#include "keychainstore.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMutexLocker>
#include <QThread>

#include <qt6keychain/keychain.h>

namespace parlix {

namespace {

const QString serviceName = QStringLiteral("Parlix");

// Starts the job and waits for its answer; the job is deleted when it ends.
QKeychain::Error run(QKeychain::Job& job)
{
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    // Never fall back to a plain-text settings file: the account file is the fallback.
    job.setInsecureFallback(false);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return job.error();
}

} // namespace

bool KeychainStore::reachable() const
{
    // The bus library's own search: the address it is given, else the user's socket.
    static const bool sessionBus =
        qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") ||
        QFileInfo(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus")).exists();
    return sessionBus && QCoreApplication::instance() != nullptr &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

SecretStore::Lookup KeychainStore::read(const QString& key)
{
    {
        QMutexLocker lock(&mutex_);
        if (const auto it = known_.constFind(key); it != known_.constEnd())
            return {Lookup::Status::Found, *it};
    }
    if (!reachable())
        return {};
    QKeychain::ReadPasswordJob job(serviceName);
    job.setKey(key);
    switch (run(job)) {
    case QKeychain::NoError: {
        QMutexLocker lock(&mutex_);
        known_.insert(key, job.textData());
        return {Lookup::Status::Found, job.textData()};
    }
    case QKeychain::EntryNotFound:
        return {Lookup::Status::Missing, {}};
    default:
        return {};
    }
}

bool KeychainStore::write(const QString& key, const QString& secret)
{
    if (!reachable())
        return false;
    QKeychain::WritePasswordJob job(serviceName);
    job.setKey(key);
    job.setTextData(secret);
    if (run(job) != QKeychain::NoError)
        return false;
    QMutexLocker lock(&mutex_);
    known_.insert(key, secret);
    return true;
}

bool KeychainStore::remove(const QString& key)
{
    if (!reachable())
        return false;
    QKeychain::DeletePasswordJob job(serviceName);
    job.setKey(key);
    const QKeychain::Error error = run(job);
    QMutexLocker lock(&mutex_);
    known_.remove(key);
    return error == QKeychain::NoError || error == QKeychain::EntryNotFound;
}

} // namespace parlix
