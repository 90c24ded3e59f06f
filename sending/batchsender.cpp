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

namespace parlix {

namespace {

// Commits at least this often while the gateway answers faster, and after
// every recipient while it answers slower; never more than maxBlock at once.
// Each commit waits for the disk (a mark must survive a power cut): when the
// gateway answers farFaster times faster than that, the window widens to
// commitShare commits' time, so the commits stay a small part of the batch.
constexpr std::chrono::milliseconds blockWindow{2};
constexpr int farFaster = 20;
constexpr int commitShare = 4;
constexpr int maxBlock = 256;

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
    QList<RecipientResult> answered; // since the last commit
    QList<RecipientClaim> block;
    qsizetype next = 0;
    Steady::duration exchange = blockWindow; // the last recipient's; none yet
    Steady::duration commit{};               // the last claim's
    Steady::duration waited{};
    int unreachedInARow = 0;
    const RunsHere running(store_.path(), batch_);
    try {
        while (true) {
            if (stopped()) {
                tally.end = SendTally::End::Stopped;
                break;
            }
            if (next == block.size()) {
                const auto perRecipient = std::max<Steady::duration>(exchange, std::chrono::microseconds(1));
                const auto window = std::max<Steady::duration>(blockWindow, farFaster * perRecipient < commit
                                                                                ? commitShare * commit
                                                                                : Steady::duration{});
                const int size = std::clamp(int(window / perRecipient), 1, maxBlock);
                const auto claiming = Steady::now();
                block = store_.claim(batch_, owner, answered, size);
                commit = Steady::now() - claiming;
                answered.clear();
                next = 0;
                committed(tally.accepted);
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
        }
        QList<int> untried;
        for (qsizetype i = next; i < block.size(); ++i)
            untried << block.at(i).position;
        store_.report(batch_, answered);
        store_.release(batch_, untried);
        committed(tally.accepted);
        if (tally.end == SendTally::End::Finished) {
            faultpoint::reach("batch.finish");
            store_.closeIfServed(batch_);
        }
    } catch (const StoreError& error) {
        // The journal can no longer say who was served: no further SMS goes out.
        tally.end = SendTally::End::StoreFailed;
        tally.storeError = error.message();
        committed(tally.accepted);
    }
    return tally;
}

} // namespace parlix
