#pragma once

#include "core/datafolder.h"
#include "sending/batchsender.h"
#include "sending/scheduledstore.h"
#include "sending/smsgateway.h"

#include <QString>

#include <atomic>
#include <functional>

namespace parlix {

class Clock;

// How the sending of a stored batch went, for this runner.
struct RunOutcome
{
    enum class Status {
        Sent,         // every SMS this runner sent was accepted
        SomeRefused,  // the gateway refused some (store.refusals() says which)
        NotSent,      // nothing sent: no account, credit short, unreachable, no book
        Nothing,      // nothing left to send: cancelled, over, or served by another runner
        OtherAccount, // scheduled with another gateway login: left alone
    };

    Status status = Status::Nothing;
    int attempted = 0; // SMS handed to the gateway
    int accepted = 0;  // SMS the gateway accepted
    int inDoubt = 0;   // recipients whose exchange was cut after the request left
    // Why the run ended before every recipient was served (Finished when it did not).
    SendTally::End end = SendTally::End::Finished;
    int left = 0;          // recipients still waiting in the batch after this run
    int excluded = 0;      // recipients of the batch skipped for the opt-out register
    QString message;       // why nothing was sent, or why the run stopped early
    double remaining = -1; // the credit left, also written to residui.txt; -1 when unknown
};

// Sends a batch of a book's journal (ScheduledStore) from start to end, through
// the one sending loop (BatchSender); widget-free and synchronous: the window
// runs it on a worker thread, parlix-cli directly. A batch kept with another
// gateway login is left alone.
// It checks the account and the credit for the SMS still waiting, marks the
// batch as leaving (which writes its inviati row once), then takes the
// recipients one by one, so several runners on one batch, in one process or
// several, serve each recipient once. Finally residui.txt gets the credit the
// gateway reports after the batch (or, when it does not answer, the credit
// before it less the SMS accepted).
class ScheduledRunner
{
public:
    // After each recipient: the recipients served so far by this runner and
    // those the batch had waiting when it began.
    using Progress = std::function<void(int served, int total)>;

    ScheduledRunner(DataFolder folder, GatewayFactory factory, const Clock& clock);

    void setProgress(Progress progress) { progress_ = std::move(progress); }
    // Checked between SMS: once set, the runner stops after the exchange
    // under way; the rest keep waiting for a later run.
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
    void setWaitingBound(std::chrono::milliseconds bound) { waitingBound_ = bound; }

    RunOutcome run(const QString& book, qint64 id);

    // This process, as runners name themselves in the store.
    static QString ownerName();

private:
    DataFolder folder_;
    GatewayFactory factory_;
    const Clock& clock_;
    Progress progress_;
    const std::atomic<bool>* stop_ = nullptr;
    std::chrono::milliseconds waitingBound_ = BatchSender::DefaultWaitingBound;
};

// What the user is told about a run that ended before its batch was served, and how to go on.
QString runEndText(const RunOutcome& outcome);
// What the user is told about the recipients ("number: code") whose exchange was cut after the request left.
QString inDoubtText(const QStringList& recipients);

} // namespace parlix
