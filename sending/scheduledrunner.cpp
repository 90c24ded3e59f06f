#include "scheduledrunner.h"

#include "core/clock.h"
#include "core/numbers.h"
#include "core/storechoice.h"
#include "core/textfile.h"
#include "sending/account.h"
#include "sending/batchplan.h"
#include "sending/creditquery.h"
#include "sending/recipientnumber.h"
#include "sending/runnername.h"
#include "store/store.h"
#include "store/storeerror.h"

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
    return runnerName();
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
        if (!batch->account.isEmpty() && batch->account != account.login) {
            RunOutcome other;
            other.status = RunOutcome::Status::OtherAccount;
            other.message =
                QStringLiteral("L'invio %1 è dell'account \"%2\": con l'account \"%3\" resta in attesa.")
                    .arg(id)
                    .arg(batch->account, account.login);
            return other;
        }
        store.excludeRegistered(id);
        const RecipientCounts before = store.counts(id);
        if (before.waiting == 0) {
            store.closeIfServed(id);
            RunOutcome nothing;
            nothing.excluded = before.excluded;
            return nothing;
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

        BatchSender sender(store, *gateway, id);
        sender.setStopFlag(stop_);
        sender.setWaitingBound(waitingBound_);
        sender.setCreditFile(folder_.path(QStringLiteral("residui.txt")), credit);
        int served = 0;
        sender.onServed([&](const RecipientClaim&, const RecipientResult& result) {
            if (progress_ && !result.unreached)
                progress_(++served, before.waiting);
        });
        const SendTally tally = sender.run(ownerName());

        RunOutcome outcome;
        outcome.attempted = tally.attempted;
        outcome.accepted = tally.accepted;
        outcome.inDoubt = tally.inDoubt;
        outcome.end = tally.end;
        outcome.message = tally.storeError;
        outcome.status = tally.refused > 0 || tally.inDoubt > 0 ? RunOutcome::Status::SomeRefused
                         : outcome.attempted > 0                ? RunOutcome::Status::Sent
                                                                : RunOutcome::Status::Nothing;
        if (tally.end == SendTally::End::StoreFailed && outcome.attempted == 0)
            outcome.status = RunOutcome::Status::NotSent;
        try {
            const RecipientCounts after = store.counts(id);
            outcome.left = after.waiting;
            outcome.excluded = after.excluded;
        } catch (const StoreError&) {
            outcome.left = -1; // not known: the journal cannot be read
        }
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

QString runEndText(const RunOutcome& outcome)
{
    QString why;
    switch (outcome.end) {
    case SendTally::End::Finished:
        return {};
    case SendTally::End::Stopped:
        why = QStringLiteral("Invio interrotto.");
        break;
    case SendTally::End::Unreachable:
        why = QStringLiteral("Il servizio SMS non risponde: invio sospeso.");
        break;
    case SendTally::End::WaitedTooLong:
        why = QStringLiteral("Il servizio SMS risponde troppo lentamente: invio sospeso.");
        break;
    case SendTally::End::StoreFailed:
        why = QStringLiteral("La rubrica non può più registrare l'esito degli invii (%1): invio fermato.")
                  .arg(outcome.message);
        break;
    }
    if (outcome.left > 0)
        why += QStringLiteral(" Restano da inviare %1 destinatari.").arg(outcome.left);
    return why;
}

QString inDoubtText(const QStringList& recipients)
{
    return QStringLiteral("Esito incerto per %1 destinatari (numero: codice): la connessione si è interrotta "
                          "dopo l'invio della richiesta, il messaggio potrebbe essere arrivato. Non verranno "
                          "inviati di nuovo.\n  %2")
        .arg(recipients.size())
        .arg(recipients.join(QStringLiteral("\n  ")));
}

} // namespace parlix
