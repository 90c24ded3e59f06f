#pragma once

#include "store/archivewatch.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>

namespace parlix {

class PgListener;

// A watch on one table of one schema, fed by the store's listener. Notices
// from the seat's own connection are left out; the others are gathered for a
// moment so that a burst of changes gives one `changed`. Each time the
// listener starts listening (the first time, and after a lost connection) the
// watch fires too, since changes made before were not heard.
class PgWatch : public ArchiveWatch
{
    Q_OBJECT

public:
    // `payload`: "<table>/<schema>", as the tables' trigger announces it.
    // `ownPid`: the server process of the seat's own connection (0: none).
    PgWatch(std::shared_ptr<PgListener> listener, QString payload, std::function<int()> ownPid);
    ~PgWatch() override;

private:
    void onNotified(const QString& payload, int senderPid);
    void arm();

    std::shared_ptr<PgListener> listener_;
    QString payload_;
    std::function<int()> ownPid_;
    QTimer quiet_;
    QElapsedTimer pendingSince_;
};

} // namespace parlix
