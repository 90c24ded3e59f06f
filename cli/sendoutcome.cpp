#include "sendoutcome.h"

#include "cli/report.h"
#include "sending/scheduledrunner.h"
#include "sending/scheduledstore.h"
#include "store/storeerror.h"

#include <QJsonArray>

namespace parlix::cli {

namespace {

QString stateName(RecipientEntry::State state)
{
    switch (state) {
    case RecipientEntry::State::Waiting:
        return QStringLiteral("waiting");
    case RecipientEntry::State::UnderWay:
        return QStringLiteral("under-way");
    case RecipientEntry::State::Accepted:
        return QStringLiteral("accepted");
    case RecipientEntry::State::Refused:
        return QStringLiteral("refused");
    case RecipientEntry::State::InDoubt:
        return QStringLiteral("in-doubt");
    case RecipientEntry::State::Moved:
        return QStringLiteral("moved");
    }
    return {};
}

} // namespace

void startBatchReport(Console& console)
{
    report(console, {{QStringLiteral("batches"), QJsonArray{}}}, {});
}

void addBatchReport(Console& console, ScheduledStore& store, const QString& book, qint64 id,
                    const RunOutcome& outcome)
{
    if (!console.json)
        return;
    QJsonObject batch{{QStringLiteral("book"), book},
                      {QStringLiteral("batch"), id},
                      {QStringLiteral("accepted"), outcome.accepted},
                      {QStringLiteral("attempted"), outcome.attempted},
                      {QStringLiteral("left"), outcome.left}};
    QJsonArray recipients;
    try {
        if (const auto stored = store.batch(id))
            batch.insert(QStringLiteral("due"),
                         stored->due.toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm")));
        for (const RecipientEntry& entry : store.entries(id))
            recipients.append(QJsonObject{{QStringLiteral("number"), entry.number},
                                          {QStringLiteral("state"), stateName(entry.state)},
                                          {QStringLiteral("result"), qint64(entry.result)}});
    } catch (const StoreError&) {
        // The run has said why the journal cannot be read; the counts above stand.
    }
    batch.insert(QStringLiteral("recipients"), recipients);
    QJsonArray batches = console.report.value(QStringLiteral("batches")).toArray();
    batches.append(batch);
    console.report.insert(QStringLiteral("batches"), batches);
}

FieldSpec batchesField()
{
    return {
        QStringLiteral("batches"),
        QStringLiteral("un oggetto per invio: book (la rubrica), batch (il numero), due (l'ora, "
                       "AAAA-MM-GGTHH:MM), accepted (SMS accettati), attempted (SMS consegnati al gateway), "
                       "left (destinatari ancora in attesa), recipients (per destinatario: number, state "
                       "tra waiting, under-way, accepted, refused, in-doubt, moved, e result, il codice del "
                       "gateway)")};
}

std::function<void(int, int)> sendProgress(Console& console)
{
    if (!console.progress)
        return {};
    return [&console](int served, int total) {
        showProgress(console, QStringLiteral("Destinatari serviti: %1 di %2").arg(served).arg(total),
                     served >= total);
    };
}

int reportOutcome(const RunOutcome& outcome, const BatchLeftovers& leftovers, Console& console)
{
    endProgress(console);
    if (outcome.status == RunOutcome::Status::NotSent) {
        console.err << outcome.message << "\nNessun SMS inviato.\n";
        if (!console.json)
            console.out << "Inviati 0 di 0\n";
        return Failed;
    }
    if (!console.json)
        console.out << "Inviati " << outcome.accepted << " di " << outcome.attempted << '\n';
    int status = Done;
    // The batch's refusals and doubts, when this run had some of its own.
    const bool refused = outcome.status == RunOutcome::Status::SomeRefused;
    if (refused && !leftovers.refusals.isEmpty()) {
        console.err << "Alcuni messaggi non Inviati. Rifiutati (numero: codice):\n";
        for (const QString& refusal : leftovers.refusals)
            console.err << "  " << refusal << '\n';
        if (!leftovers.resend.isEmpty())
            console.err << "Per inviarlo di nuovo ai rifiutati: " << leftovers.resend << '\n';
        status = Stopped;
    }
    if (refused && !leftovers.inDoubt.isEmpty()) {
        console.err << inDoubtText(leftovers.inDoubt) << '\n';
        status = Stopped;
    }
    if (outcome.end != SendTally::End::Finished) {
        console.err << runEndText(outcome);
        if (outcome.left > 0 && !leftovers.resume.isEmpty())
            console.err << " Per riprendere: " << leftovers.resume;
        console.err << '\n';
        status = Stopped;
    }
    return status;
}

int worseStatus(int a, int b)
{
    // Failed outranks Stopped, which outranks Done.
    const auto rank = [](int status) { return status == Failed ? 2 : status == Stopped ? 1 : 0; };
    return rank(a) >= rank(b) ? a : b;
}

} // namespace parlix::cli
