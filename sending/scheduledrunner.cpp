#include "scheduledrunner.h"

#include "core/clock.h"
#include "core/numbers.h"
#include "core/storechoice.h"
#include "core/textfile.h"
#include "sending/account.h"
#include "sending/batchplan.h"
#include "sending/creditquery.h"
#include "sending/recipientnumber.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace parlix {

namespace {

RunOutcome notSent(const QString& message)
{
    RunOutcome outcome;
    outcome.status = RunOutcome::Status::NotSent;
    outcome.message = message;
    return outcome;
}

} // namespace

ScheduledRunner::ScheduledRunner(DataFolder folder, GatewayFactory factory, const Clock& clock)
    : folder_(std::move(folder)), factory_(std::move(factory)), clock_(clock)
{}

QString ScheduledRunner::ownerName()
{
    return QStringLiteral("%1:%2").arg(QSysInfo::machineHostName()).arg(QCoreApplication::applicationPid());
}

RunOutcome ScheduledRunner::run(const QString& book, qint64 id)
{
    const Account account = Account::load(folder_);
    if (!account.usable() || !factory_)
        return notSent(missingAccountText());

    try {
        ScheduledStore store(*chooseStore(folder_), folder_.bookPath(book));
        const std::optional<ScheduledBatch> batch = store.batch(id);
        if (!batch || batch->state == ScheduledBatch::State::Done ||
            batch->state == ScheduledBatch::State::Cancelled)
            return {};
        const RecipientCounts before = store.counts(id);
        if (before.waiting == 0) {
            store.closeIfServed(id);
            return {};
        }

        std::unique_ptr<SmsGateway> gateway = factory_();
        if (!gateway)
            return notSent(missingAccountText());
        gateway->setLogin(account.login);
        gateway->setPassword(account.password);
        gateway->setQuality(account.quality);
        const long credit = gateway->checkCredits();
        if (credit < 0)
            return notSent(connectionFailedText());
        if (credit < before.waitingSms)
            return notSent(creditShortMessage(before.waitingSms, credit));

        if (!store.start(id, messageDate(clock_.now())))
            return {};
        gateway->setFlash(batch->flash);
        gateway->setSender(batch->sender);

        RunOutcome outcome;
        const QString owner = ownerName();
        int served = 0;
        std::optional<RecipientResult> last;
        while (!(stop_ && stop_->load())) {
            const std::optional<RecipientClaim> claim = store.next(id, owner, last);
            last.reset();
            if (!claim)
                break;
            RecipientResult result{claim->position, 0, 0};
            const QString number = internationalNumber(claim->number);
            for (const QString& part : MessageSplitter::split(claim->text, batch->split)) {
                const long code = gateway->send(number, part);
                ++outcome.attempted;
                if (code == 0)
                    ++result.accepted;
                else if (result.result == 0)
                    result.result = code;
            }
            outcome.accepted += result.accepted;
            last = result;
            if (served_)
                served_(*claim, result);
            if (progress_)
                progress_(++served, before.waiting);
        }
        if (last)
            store.report(id, *last);
        store.closeIfServed(id);

        outcome.status = outcome.accepted < outcome.attempted ? RunOutcome::Status::SomeRefused
                         : outcome.attempted > 0              ? RunOutcome::Status::Sent
                                                              : RunOutcome::Status::Nothing;
        // Another runner may have sent from the same account meanwhile: the
        // gateway's own figure is the one to keep, when it answers.
        const long after = outcome.attempted > 0 ? gateway->checkCredits() : -1;
        outcome.remaining = double(after >= 0 ? after : credit - outcome.accepted);
        if (outcome.attempted > 0)
            textfile::writeLines(folder_.path(QStringLiteral("residui.txt")),
                                 {numbers::format(outcome.remaining)});
        return outcome;
    } catch (const StoreError& error) {
        return notSent(error.message());
    }
}

} // namespace parlix
