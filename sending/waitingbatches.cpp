#include "waitingbatches.h"

#include "contacts/bookcontacts.h"
#include "store/storeerror.h"

#include <algorithm>

namespace parlix {

namespace {

QString timeText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

QString lateness(qint64 seconds)
{
    const qint64 minutes = seconds / 60;
    if (minutes < 120)
        return QStringLiteral("%1 minuti").arg(minutes);
    if (minutes < 48 * 60)
        return QStringLiteral("%1 ore").arg(minutes / 60);
    return QStringLiteral("%1 giorni").arg(minutes / (24 * 60));
}

QString described(const BookBatch& waiting)
{
    return QStringLiteral("il %1 nella rubrica \"%2\"").arg(timeText(waiting.batch.due), waiting.book);
}

} // namespace

QList<BookBatch> waitingBatches(Store& store, const DataFolder& folder)
{
    QList<BookBatch> found;
    for (const QString& book : bookNames(store, folder.bookList())) {
        try {
            for (ScheduledBatch& batch : ScheduledStore(store, folder.bookPath(book)).waiting())
                found.append({book, std::move(batch)});
        } catch (const StoreError&) {
            // an unreadable book is reported where it is opened
        }
    }
    return found;
}

QList<BookBatch> overdueBatches(const QList<BookBatch>& batches, const QDateTime& now)
{
    QList<BookBatch> late;
    for (const BookBatch& waiting : batches) {
        if (waiting.batch.due.secsTo(now) > OverdueGraceSeconds)
            late.append(waiting);
    }
    return late;
}

QString overdueQuestion(const BookBatch& waiting, const QDateTime& now)
{
    const ScheduledBatch& batch = waiting.batch;
    return QStringLiteral("L'invio programmato per %1 (%2 destinatari, %3 SMS) doveva partire %4 fa e non è "
                          "ancora partito.\nTesto: %5\n\nInviarlo adesso?\n"
                          "Sì: lo invia adesso.\nNo: annulla l'invio.\n"
                          "Annulla: lo lascia in attesa senza inviarlo; sarà chiesto di nuovo al prossimo "
                          "avvio.")
        .arg(described(waiting))
        .arg(batch.recipients)
        .arg(batch.sms)
        .arg(lateness(batch.due.secsTo(now)), batch.text);
}

QString closingNotice(const QList<BookBatch>& batches, const QDateTime& now, bool timerOn)
{
    const auto soonest =
        std::min_element(batches.cbegin(), batches.cend(),
                         [](const BookBatch& a, const BookBatch& b) { return a.batch.due < b.batch.due; });
    const auto latest =
        std::max_element(batches.cbegin(), batches.cend(),
                         [](const BookBatch& a, const BookBatch& b) { return a.batch.due < b.batch.due; });
    // A batch kept unsent past its time (the user put off the question at
    // start) leaves at no time that can be told: it is only said to be late.
    const QString first = soonest->batch.due < now
                              ? QStringLiteral("era previsto %1 ed è in ritardo").arg(described(*soonest))
                              : QStringLiteral("partirà %1").arg(described(*soonest));
    QString text = batches.size() == 1
                       ? QStringLiteral("Resta un invio programmato: %1.").arg(first)
                       : QStringLiteral("Restano %1 invii programmati: il primo %2, l'ultimo il %3.")
                             .arg(batches.size())
                             .arg(first, timeText(latest->batch.due));
    if (timerOn)
        return text + QStringLiteral(
                          "\nIl timer utente parlix-run-scheduled.timer è attivo: gli invii partono anche "
                          "a Parlix chiuso, mentre la sessione dell'utente è aperta.");
    return text +
           QStringLiteral("\nGli invii programmati partono solo se a quell'ora Parlix è aperto oppure se è "
                          "attivo il timer utente "
                          "installato (parlix-run-scheduled.timer).\n\nAttivare ora il timer e chiudere?\n"
                          "Sì: attiva il timer e chiude.\nNo: chiude senza attivarlo.\nAnnulla: Parlix resta "
                          "aperto.");
}

} // namespace parlix
