#pragma once

#include "sending/scheduledstore.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>

namespace parlix {

class SmsGateway;

// How one run through a batch's recipients ended, as this runner saw it.
struct SendTally
{
    enum class End {
        Finished,      // no recipient left to take
        Stopped,       // the stop flag was raised: the rest wait for a later run
        Unreachable,   // the gateway could not be reached several times in a row: the rest wait
        WaitedTooLong, // failed exchanges took longer in all than the run may wait: the rest wait
        StoreFailed,   // the journal could not be written: nothing more was sent
    };

    End end = End::Finished;
    int attempted = 0;  // SMS handed to the gateway
    int accepted = 0;   // SMS the gateway took
    int recipients = 0; // recipients this run took and tried
    int refused = 0;    // of them, refused by the gateway
    int inDoubt = 0;    // of them, whose exchange was cut after the request left
    QString storeError; // why the journal could not be written
};

// The one sending loop of Parlix: the composer's batch, parlix-cli send,
// the scheduled batches of the window and of run-scheduled all go through it.
//
// It takes the batch's recipients a block at a time from the journal
// (ScheduledStore::claim, which records the answers given since the last
// claim in the same commit) and only sends a block's recipients once that
// commit is on the disk. The next block is taken while the first answer of
// the current one is in, so the disk's wait overlaps the exchanges: a kill at
// any moment leaves at most two blocks "under way", never sent again. A block
// is one recipient while the gateway takes longer than a few milliseconds an
// exchange (any gateway over the internet), and then nothing is taken ahead;
// against one far faster than a commit it spans a few commits' time, at most
// 256 recipients.
//
// An exchange cut after its request left is "in doubt": the recipient is
// served, never refused and never sent again. One whose request never left
// waits again; after UnreachableInARow of those in a row the run pauses.
// A journal that can no longer be written stops the run at once.
class BatchSender
{
public:
    static constexpr int UnreachableInARow = 3;
    static constexpr std::chrono::seconds DefaultWaitingBound{180};

    // Before each SMS: its recipient's number. After: the gateway's answer.
    using Serving = std::function<void(const QString& number)>;
    using Sent = std::function<void(long result)>;
    // After a commit of the journal that brought more accepted SMS: how many so far in this run.
    using Committed = std::function<void(int accepted)>;
    // Every recipient tried, with its result.
    using Served = std::function<void(const RecipientClaim&, const RecipientResult&)>;

    BatchSender(ScheduledStore& store, SmsGateway& gateway, qint64 batch);

    // Checked between SMS: once set, the run ends after the exchange under way.
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
    // The longest time the run's failed exchanges may take in all.
    void setWaitingBound(std::chrono::milliseconds bound) { waitingBound_ = bound; }
    // Keeps `path` (residui.txt) at `credit` less the SMS accepted as of the last commit.
    void setCreditFile(const QString& path, long credit);
    void onServing(Serving serving) { serving_ = std::move(serving); }
    void onSent(Sent sent) { sent_ = std::move(sent); }
    void onCommitted(Committed committed) { committed_ = std::move(committed); }
    void onServed(Served served) { served_ = std::move(served); }

    // Serves what is waiting in the batch, as `owner` (ScheduledRunner::ownerName()).
    SendTally run(const QString& owner);

private:
    bool stopped() const { return stop_ && stop_->load(); }
    void committed(int accepted);

    ScheduledStore& store_;
    SmsGateway& gateway_;
    qint64 batch_;
    const std::atomic<bool>* stop_ = nullptr;
    std::chrono::milliseconds waitingBound_ = DefaultWaitingBound;
    QString creditFile_;
    long credit_ = -1;
    int recordedAccepted_ = 0;
    Serving serving_;
    Sent sent_;
    Committed committed_;
    Served served_;
};

} // namespace parlix
