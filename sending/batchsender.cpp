#include "batchsender.h"

#include "core/faultpoint.h"
#include "core/numbers.h"
#include "core/textfile.h"
#include "sending/exchangeoutcome.h"
#include "sending/recipientnumber.h"
#include "sending/runnername.h"
#include "sending/smsgateway.h"
#include "store/storeerror.h"

#include <algorithm>
#include <future>
#include <optional>

namespace parlix {

namespace {

// A block spans at least blockWindow of sending, and one recipient while an
// exchange takes longer than that (every gateway over the internet). Against
// a gateway faster than that, the window widens to commitShare commits' time:
// the next block's commit, made while this one is sent, is then over well
// before it is needed, and the disk's work, which slows the exchanges going on
// meanwhile, is a small share of the run. Never more than maxBlock at once.
constexpr std::chrono::milliseconds blockWindow{2};
constexpr int commitShare = 16;
constexpr int maxBlock = 256;

// Keeps the store's rollback file for as long as a run lasts.
class RollbackFileKept
{
public:
    explicit RollbackFileKept(ScheduledStore& store) : store_(store) { store_.keepRollbackFile(true); }
    ~RollbackFileKept() { store_.keepRollbackFile(false); }
    RollbackFileKept(const RollbackFileKept&) = delete;
    RollbackFileKept& operator=(const RollbackFileKept&) = delete;

private:
    ScheduledStore& store_;
};

} // namespace

BatchSender::BatchSender(ScheduledStore& store, SmsGateway& gateway, qint64 batch)
    : store_(store), gateway_(gateway), batch_(batch)
{}

void BatchSender::setCreditFile(const QString& path, long credit)
{
    creditFile_ = path;
    credit_ = credit;
}

void BatchSender::committed(int accepted)
{
    if (accepted == recordedAccepted_)
        return;
    if (!creditFile_.isEmpty()) {
        // A failed write is told when the run ends, which writes the file again.
        const QString remaining = numbers::format(double(credit_ - accepted));
        if (!textfile::rewriteFirstLine(creditFile_, remaining))
            textfile::writeLines(creditFile_, {remaining});
    }
    recordedAccepted_ = accepted;
    if (committed_)
        committed_(accepted);
}

SendTally BatchSender::run(const QString& owner)
{
    using Steady = std::chrono::steady_clock;
    SendTally tally;
    QList<RecipientResult> answered; // since the last claim handed to the journal
    QList<RecipientClaim> block;
    qsizetype next = 0;
    Steady::duration exchange = blockWindow; // the last recipient's; none yet
    Steady::duration commit{};               // the last claim's
    Steady::duration waited{};
    int unreachedInARow = 0;
    // The next block, taken by a worker while this one is being sent, so that
    // the wait for the disk overlaps the exchanges: its recipients are marked
    // for good before the first of them leaves, as any block's.
    struct Ahead
    {
        std::future<QList<RecipientClaim>> taken;
        int accepted = 0; // the SMS accepted as of the answers it records
        int asked = 0;
    };
    std::optional<Ahead> ahead;
    std::optional<QList<RecipientClaim>> taken; // the block taken ahead, once in
    bool drained = false;                       // a claim came back short: nothing waits beyond it
    const auto blockSize = [&] {
        const auto perRecipient = std::max<Steady::duration>(exchange, std::chrono::microseconds(1));
        const auto widened = perRecipient < blockWindow ? commitShare * commit : Steady::duration{};
        const auto window = std::max<Steady::duration>(blockWindow, widened);
        return std::clamp(int(window / perRecipient), 1, maxBlock);
    };
    const auto takeAhead = [&] {
        Ahead taking;
        taking.accepted = tally.accepted;
        taking.asked = blockSize();
        taking.taken = std::async(
            std::launch::async, [this, &owner, &commit, served = std::move(answered), count = taking.asked] {
                const auto claiming = Steady::now();
                QList<RecipientClaim> claims = store_.claim(batch_, owner, served, count);
                commit = Steady::now() - claiming;
                return claims;
            });
        answered.clear();
        ahead = std::move(taking);
    };
    // Waits for the block taken ahead; throws what the journal threw.
    const auto collect = [&] {
        Ahead taking = std::move(*ahead);
        ahead.reset();
        QList<RecipientClaim> claims = taking.taken.get();
        drained = claims.size() < taking.asked;
        committed(taking.accepted);
        return claims;
    };
    const RunsHere running(store_.path(), batch_);
    const RollbackFileKept rollbackFile(store_);
    try {
        try {
            while (true) {
                if (stopped()) {
                    tally.end = SendTally::End::Stopped;
                    break;
                }
                if (next == block.size()) {
                    if (taken) {
                        block = std::move(*taken);
                        taken.reset();
                    } else if (ahead) {
                        block = collect();
                    } else if (drained) {
                        break; // the last answers are recorded below
                    } else {
                        takeAhead();
                        block = collect();
                    }
                    next = 0;
                    if (block.isEmpty())
                        break;
                }
                const RecipientClaim& claim = block.at(next++);
                faultpoint::reach("batch.sending");
                const auto started = Steady::now();
                RecipientResult result{claim.position, 0, 0, false};
                bool doubtful = false;
                const QString number = internationalNumber(claim.number);
                for (qsizetype part = 0; part < claim.parts.size(); ++part) {
                    if (part > 0 && stopped())
                        break;
                    if (serving_)
                        serving_(claim.number);
                    const auto sentAt = Steady::now();
                    const long code = gateway_.send(number, claim.parts.at(part));
                    ++tally.attempted;
                    if (sent_)
                        sent_(code);
                    const ExchangeOutcome outcome = exchangeOutcome(code);
                    if (outcome == ExchangeOutcome::Accepted) {
                        ++result.accepted;
                        ++tally.accepted;
                        continue;
                    }
                    if (result.result == 0)
                        result.result = code;
                    if (outcome != ExchangeOutcome::Refused)
                        waited += Steady::now() - sentAt;
                    doubtful = doubtful || outcome == ExchangeOutcome::InDoubt;
                    // Nothing of this recipient left: it waits again, whole.
                    if (outcome == ExchangeOutcome::Unreached && result.accepted == 0 && !doubtful) {
                        result.unreached = true;
                        break;
                    }
                }
                exchange = Steady::now() - started;
                faultpoint::reach("batch.sent");
                answered << result;
                unreachedInARow = result.unreached ? unreachedInARow + 1 : 0;
                if (!result.unreached) {
                    ++tally.recipients;
                    if (doubtful)
                        ++tally.inDoubt;
                    else if (result.result != 0)
                        ++tally.refused;
                }
                if (served_)
                    served_(claim, result);
                if (unreachedInARow >= UnreachableInARow) {
                    tally.end = SendTally::End::Unreachable;
                    break;
                }
                if (waited > waitingBound_) {
                    tally.end = SendTally::End::WaitedTooLong;
                    break;
                }
                // Once the first exchange of a block has told how fast the
                // gateway answers, the next block is taken while this one goes.
                if (!ahead && !taken && !drained && next < block.size())
                    takeAhead();
                // A journal that failed meanwhile stops the run here, not at the block's end.
                if (ahead && ahead->taken.wait_for(Steady::duration{}) == std::future_status::ready)
                    taken = collect();
            }
        } catch (...) {
            // The journal's worker may still be writing: it ends before anything else is done.
            if (ahead)
                ahead->taken.wait();
            throw;
        }
        QList<int> untried;
        for (qsizetype i = next; i < block.size(); ++i)
            untried << block.at(i).position;
        if (ahead)
            taken = collect();
        if (taken) {
            for (const RecipientClaim& claim : *taken)
                untried << claim.position;
        }
        // The last answers, the recipients left untried and, when every one
        // was taken, the batch's end: one commit.
        const bool finished = tally.end == SendTally::End::Finished;
        if (finished)
            faultpoint::reach("batch.finish");
        store_.endRun(batch_, answered, untried, finished);
        committed(tally.accepted);
    } catch (const StoreError& error) {
        // The journal can no longer say who was served: no further SMS goes out.
        tally.end = SendTally::End::StoreFailed;
        tally.storeError = error.message();
        committed(tally.accepted);
    }
    return tally;
}

} // namespace parlix
