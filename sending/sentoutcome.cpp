#include "sentoutcome.h"

#include "core/numbers.h"
#include "sending/batchjournal.h"
#include "sending/scheduledstore.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store.h"

#include <qwirl/result_codes.h>

namespace parlix {

QString refusalReason(long result)
{
    namespace R = qwirl::Result;
    QString reason;
    switch (result) {
    case R::Refused:
    case R::RefusedKo1:
    case R::RefusedKo2:
    case R::RefusedKo3:
    case R::RefusedKo9:
        reason = QStringLiteral("rifiutato dal servizio");
        break;
    case R::BadNumber:
        reason = QStringLiteral("numero non valido");
        break;
    case R::NoText:
        reason = QStringLiteral("testo mancante");
        break;
    case R::NoLogin:
    case R::NoPassword:
        reason = QStringLiteral("login o password mancanti");
        break;
    case R::NoSession:
        reason = QStringLiteral("accesso al servizio non riuscito");
        break;
    case R::ProxyAuthCancelled:
        reason = QStringLiteral("autenticazione al proxy annullata");
        break;
    case R::BadMessageId:
        reason = QStringLiteral("identificativo del messaggio non valido");
        break;
    case R::BadQuality:
        reason = QStringLiteral("qualità non valida");
        break;
    default:
        reason = QStringLiteral("connessione non riuscita");
        break;
    }
    return QStringLiteral("%1 (codice %2)").arg(reason).arg(result);
}

namespace {

const QString acceptedSuffix = QStringLiteral(": accettato");

QString entryOutcome(const RecipientEntry& entry)
{
    switch (entry.state) {
    case RecipientEntry::State::Accepted:
        return acceptedSuffix.mid(2);
    case RecipientEntry::State::Refused:
        return QStringLiteral("rifiutato: ") + refusalReason(entry.result);
    case RecipientEntry::State::InDoubt:
        return QStringLiteral("esito incerto: connessione interrotta dopo l'invio (codice %1)")
            .arg(entry.result);
    case RecipientEntry::State::UnderWay:
        return QStringLiteral("esito sconosciuto: invio interrotto");
    case RecipientEntry::State::Moved:
        return QStringLiteral("non inviato: passato a un nuovo invio");
    case RecipientEntry::State::Waiting:
        break;
    }
    return QStringLiteral("non inviato");
}

} // namespace

QStringList sentOutcomeLines(Store& store, const QString& bookPath, long long record, const QString& data,
                             const QString& testo)
{
    QStringList lines;
    {
        ScheduledStore journal(store, bookPath);
        const Recordset row(store.open(bookPath), queries::rowById(QStringLiteral("inviati"), record));
        const auto id = row.eof() ? std::nullopt : journal.findSent(data, testo, row.field(u"cellulare"));
        if (id) {
            for (const RecipientEntry& entry : journal.entries(*id))
                lines << entry.number + QStringLiteral(": ") + entryOutcome(entry);
            return lines;
        }
    }
    auto db = store.open(bookPath);
    if (!db->hasTable(QStringLiteral("lotti")))
        return lines;
    BatchJournal journal(db);
    const auto id = journal.find(record, data, testo);
    if (!id)
        return lines;
    for (const BatchJournal::Entry& entry : journal.entries(*id)) {
        QString who = entry.recipient.cellulare;
        if (!entry.recipient.cognome.trimmed().isEmpty() && entry.recipient.cognome != u"<lista>")
            who += QStringLiteral(" (%1)").arg(entry.recipient.cognome);
        QString outcome;
        switch (entry.state) {
        case BatchJournal::State::Accepted:
            outcome = acceptedSuffix.mid(2);
            break;
        case BatchJournal::State::Refused:
            outcome = QStringLiteral("rifiutato: ") + refusalReason(entry.result);
            break;
        case BatchJournal::State::Sending:
            outcome = QStringLiteral("esito sconosciuto: invio interrotto");
            break;
        case BatchJournal::State::Waiting:
            outcome = QStringLiteral("non inviato");
            break;
        }
        lines << who + QStringLiteral(": ") + outcome;
    }
    return lines;
}

QString sentOutcomeText(const QStringList& lines, int maxLines)
{
    if (lines.size() <= maxLines)
        return lines.join(u'\n');
    QStringList others;
    for (const QString& line : lines) {
        if (!line.endsWith(acceptedSuffix))
            others << line;
    }
    QString text = QStringLiteral("Accettati %1 di %2.")
                       .arg(QString::number(lines.size() - others.size()),
                            numbers::counted(lines.size(), QStringLiteral("destinatario"),
                                             QStringLiteral("destinatari")));
    if (!others.isEmpty())
        text += u'\n' + others.mid(0, maxLines).join(u'\n');
    if (others.size() > maxLines)
        text += QStringLiteral("\n... e altri %1.").arg(others.size() - maxLines);
    return text;
}

} // namespace parlix
