#pragma once

#include "core/datafolder.h"
#include "sending/scheduledrunner.h"
#include "sending/smsgateway.h"

#include <QFuture>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

namespace parlix {

class Clock;

// Sends the stored batches whose time has come while the window program
// runs: at every tick it looks through every book on a thread of its own and
// runs what is due, one batch after the other, while the window stays free.
// A round never starts while the previous one is under way. parlix-cli
// run-scheduled may run at the same moment: each recipient is still served
// once (ScheduledStore).
class ScheduledDispatcher : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultInterval = 30000; // ms

    ScheduledDispatcher(DataFolder folder, GatewayFactory factory, const Clock& clock,
                        QObject* parent = nullptr);
    // Stops after the recipient under way and waits for it.
    ~ScheduledDispatcher() override;

    // A round now, then one every `interval` ms.
    void start(int interval = DefaultInterval);
    // One round now, unless one is under way.
    void runDue();
    bool busy() const { return busy_; }

    // Batches held back until the user has said what to become of them (a
    // batch found long overdue at start): no round runs them meanwhile.
    void hold(const QString& book, qint64 id);
    void release(const QString& book, qint64 id);

signals:
    // A batch went out (wholly or in part) or could not: on the owner's thread.
    void batchFinished(const QString& book, const parlix::RunOutcome& outcome);
    void roundFinished();

private:
    struct Held
    {
        std::mutex mutex;
        std::set<std::pair<QString, qint64>> batches;
        bool contains(const QString& book, qint64 id);
    };

    DataFolder folder_;
    GatewayFactory factory_;
    const Clock& clock_;
    QTimer timer_;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::shared_ptr<Held> held_;
    QFuture<int> round_;
    bool busy_ = false;
};

} // namespace parlix
