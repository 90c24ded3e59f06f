#pragma once

#include "sending/secretstore.h"

#include <QHash>
#include <QMutex>

namespace parlix {

// The desktop's keyring through QtKeychain, under the service name "Parlix".
// QtKeychain answers through the event loop, so the calls wait in a local
// event loop (the window keeps repainting). What was read or written is kept
// in memory: a call from another thread (the credit query runs on one) is
// answered from there and never reaches the keyring. Without a session bus
// (a console run by cron, a server) there is no keyring to reach: the calls
// fail at once rather than have the bus library look for one.
class KeychainStore : public SecretStore
{
public:
    Lookup read(const QString& key) override;
    bool write(const QString& key, const QString& secret) override;
    bool remove(const QString& key) override;

private:
    // On the window's thread, with a session bus to reach the keyring through.
    bool reachable() const;

    QMutex mutex_;
    QHash<QString, QString> known_;
};

} // namespace parlix
