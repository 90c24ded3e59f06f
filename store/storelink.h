#pragma once

#include <QObject>
#include <QString>

namespace parlix {

// Whether a shared store can be reached, for the windows that must say so.
// It is fed by every connection of the store (the one that reads and writes,
// the one that listens): the store is reachable while none of them has lost
// its server. A store of files has none.
class StoreLink : public QObject
{
    Q_OBJECT

public:
    enum class Connection { Reading, Listening };

    bool reachable() const { return down_ == 0; }
    // Why the store cannot be reached (the server's own words), or empty.
    const QString& problem() const { return problem_; }

    // One connection lost its server, or got it back.
    void setDown(Connection connection, const QString& why);
    void setUp(Connection connection);
    bool isDown(Connection connection) const { return (down_ & bit(connection)) != 0; }

signals:
    // The first connection lost its server: whatever is shown may be stale
    // and nothing can be read until `restored`.
    void lost(const QString& why);
    // Every connection is back. Changes made meanwhile were not heard:
    // whatever is shown should be read again.
    void restored();

private:
    static int bit(Connection connection) { return connection == Connection::Reading ? 1 : 2; }

    int down_ = 0;
    QString problem_;
};

} // namespace parlix
