#include "scheduledstore.h"

#include "sending/batchplan.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/store.h"
#include "store/transaction.h"

namespace parlix {

namespace {

enum RecipientState : int { Waiting = 0, UnderWay = 1, Served = 2 };

QString stateText(ScheduledBatch::State state)
{
    switch (state) {
    case ScheduledBatch::State::Waiting:
        return QStringLiteral("attesa");
    case ScheduledBatch::State::Sending:
        return QStringLiteral("invio");
    case ScheduledBatch::State::Done:
        return QStringLiteral("concluso");
    case ScheduledBatch::State::Cancelled:
        return QStringLiteral("annullato");
    }
    return {};
}

ScheduledBatch::State stateFromText(const QString& text)
{
    for (auto state : {ScheduledBatch::State::Waiting, ScheduledBatch::State::Sending,
                       ScheduledBatch::State::Done, ScheduledBatch::State::Cancelled}) {
        if (stateText(state) == text)
            return state;
    }
    return ScheduledBatch::State::Done;
}

// Times are kept in UTC, so that text order is time order whatever the
// clock changes of the place.
QString timeText(const QDateTime& when)
{
    return when.toUTC().toString(Qt::ISODate);
}

QDateTime timeFromText(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODate);
}

constexpr const char* batchColumns =
    "id, Quando, Testo, Suddivisione, Flash, Mittente, cognome, cellulare, Immediato, Stato,"
    " (SELECT count(*) FROM programmati_destinatari d WHERE d.programma = p.id),"
    " (SELECT coalesce(sum(Parti), 0) FROM programmati_destinatari d WHERE d.programma = p.id)";

ScheduledBatch readBatch(const Statement& st)
{
    ScheduledBatch batch;
    batch.id = st.integer(0);
    batch.due = timeFromText(st.text(1));
    batch.text = st.text(2);
    batch.split = st.text(3) == u"parole" ? SplitMode::Words : SplitMode::Fixed;
    batch.flash = st.integer(4) != 0;
    batch.sender = st.text(5);
    batch.cognome = st.text(6);
    batch.cellulare = st.text(7);
    batch.immediate = st.integer(8) != 0;
    batch.state = stateFromText(st.text(9));
    batch.recipients = int(st.integer(10));
    batch.sms = int(st.integer(11));
    return batch;
}

} // namespace

ScheduledBatch ScheduledBatch::forPlan(const BatchPlan& plan, const QDateTime& due, const QString& cognome,
                                       const QString& cellulare)
{
    ScheduledBatch batch;
    batch.due = due;
    batch.text = plan.text();
    batch.cognome = cognome;
    batch.cellulare = cellulare;
    return batch;
}

ScheduledStore::ScheduledStore(Store& store, const QString& bookPath) : db_(store.open(bookPath)) {}

ScheduledStore::~ScheduledStore() = default;

bool ScheduledStore::hasTables()
{
    return db_->hasTable(batchTable()) && db_->hasTable(recipientTable());
}

qint64 ScheduledStore::add(const ScheduledBatch& batch, const BatchPlan& plan)
{
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    if (!hasTables())
        schema::addScheduledTables(*db_);
    Statement insert(*db_, "INSERT INTO programmati (Quando, Testo, Suddivisione, Flash, Mittente, cognome,"
                           " cellulare, Immediato, Stato) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id");
    insert.bind(1, timeText(batch.due));
    insert.bind(2, batch.text);
    insert.bind(3, batch.split == SplitMode::Words ? QStringLiteral("parole") : QStringLiteral("fisso"));
    insert.bind(4, batch.flash ? 1LL : 0LL);
    insert.bind(5, batch.sender);
    insert.bind(6, batch.cognome);
    insert.bind(7, batch.cellulare);
    insert.bind(8, batch.immediate ? 1LL : 0LL);
    insert.bind(9, stateText(ScheduledBatch::State::Waiting));
    insert.step();
    const qint64 id = insert.integer(0);
    insert.reset();

    Statement recipient(*db_, "INSERT INTO programmati_destinatari (programma, posizione, cellulare, Testo,"
                              " Parti) VALUES (?, ?, ?, ?, ?)");
    int position = 0;
    for (const RecipientMessage& message : plan.messages()) {
        recipient.bind(1, id);
        recipient.bind(2, qint64(++position));
        recipient.bind(3, message.number);
        recipient.bind(4, message.text);
        recipient.bind(5, qint64(message.parts.size()));
        recipient.step();
    }
    transaction.commit();
    return id;
}

QList<ScheduledBatch> ScheduledStore::waiting()
{
    QList<ScheduledBatch> batches;
    if (!hasTables())
        return batches;
    Statement st(*db_,
                 QStringLiteral("SELECT %1 FROM programmati p WHERE Immediato = 0 AND (Stato = 'attesa'"
                                " OR (Stato = 'invio' AND EXISTS (SELECT 1 FROM programmati_destinatari d"
                                " WHERE d.programma = p.id AND d.Stato = 0))) ORDER BY Quando, id")
                     .arg(QLatin1String(batchColumns)));
    while (st.step())
        batches << readBatch(st);
    return batches;
}

QList<qint64> ScheduledStore::due(const QDateTime& now)
{
    QList<qint64> ids;
    if (!hasTables())
        return ids;
    Statement st(*db_,
                 "SELECT id FROM programmati p WHERE Immediato = 0 AND Quando <= ? AND (Stato = 'attesa'"
                 " OR (Stato = 'invio' AND EXISTS (SELECT 1 FROM programmati_destinatari d"
                 " WHERE d.programma = p.id AND d.Stato = 0))) ORDER BY Quando, id");
    st.bind(1, timeText(now));
    while (st.step())
        ids << st.integer(0);
    return ids;
}

std::optional<ScheduledBatch> ScheduledStore::batch(qint64 id)
{
    if (!hasTables())
        return std::nullopt;
    Statement st(
        *db_, QStringLiteral("SELECT %1 FROM programmati p WHERE id = ?").arg(QLatin1String(batchColumns)));
    st.bind(1, id);
    if (!st.step())
        return std::nullopt;
    ScheduledBatch batch = readBatch(st);
    st.reset();
    return batch;
}

bool ScheduledStore::cancel(qint64 id)
{
    if (!hasTables())
        return false;
    // Not while a runner is starting it: it would leave all the same.
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    Statement st(*db_,
                 "UPDATE programmati SET Stato = 'annullato' WHERE id = ? AND Stato = 'attesa' RETURNING id");
    st.bind(1, id);
    const bool cancelled = st.step();
    st.reset();
    transaction.commit();
    return cancelled;
}

bool ScheduledStore::start(qint64 id, const QString& date)
{
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    Statement state(*db_, "SELECT Stato, cognome, cellulare, Testo FROM programmati WHERE id = ?");
    state.bind(1, id);
    if (!state.step())
        return false;
    const ScheduledBatch::State current = stateFromText(state.text(0));
    const QString cognome = state.text(1), cellulare = state.text(2), testo = state.text(3);
    state.reset();
    if (current == ScheduledBatch::State::Sending)
        return true;
    if (current != ScheduledBatch::State::Waiting)
        return false;
    Statement row(*db_, "INSERT INTO inviati (cognome, cellulare, \"Data\", \"Testo\") VALUES (?, ?, ?, ?)");
    row.bind(1, cognome);
    row.bind(2, cellulare);
    row.bind(3, date);
    row.bind(4, testo);
    row.step();
    Statement leaving(*db_, "UPDATE programmati SET Stato = 'invio' WHERE id = ?");
    leaving.bind(1, id);
    leaving.step();
    transaction.commit();
    return true;
}

void ScheduledStore::markServed(qint64 id, const RecipientResult& served)
{
    Statement st(*db_, "UPDATE programmati_destinatari SET Stato = 2, Esito = ?, Accettati = ?"
                       " WHERE programma = ? AND posizione = ?");
    st.bind(1, qint64(served.result));
    st.bind(2, qint64(served.accepted));
    st.bind(3, id);
    st.bind(4, qint64(served.position));
    st.step();
}

std::optional<RecipientClaim> ScheduledStore::next(qint64 id, const QString& owner,
                                                   const std::optional<RecipientResult>& served)
{
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    if (served)
        markServed(id, *served);
    Statement take(*db_, "UPDATE programmati_destinatari SET Stato = 1, Esecutore = ? WHERE programma = ? AND"
                         " posizione = (SELECT posizione FROM programmati_destinatari WHERE programma = ? AND"
                         " Stato = 0 ORDER BY posizione LIMIT 1) RETURNING posizione, cellulare, Testo");
    take.bind(1, owner);
    take.bind(2, id);
    take.bind(3, id);
    std::optional<RecipientClaim> claim;
    if (take.step())
        claim = RecipientClaim{int(take.integer(0)), take.text(1), take.text(2)};
    take.reset();
    transaction.commit();
    return claim;
}

void ScheduledStore::report(qint64 id, const RecipientResult& served)
{
    Transaction transaction(*db_);
    markServed(id, served);
    transaction.commit();
}

bool ScheduledStore::closeIfServed(qint64 id)
{
    Statement st(*db_,
                 "UPDATE programmati SET Stato = 'concluso' WHERE id = ? AND Stato = 'invio' AND NOT EXISTS"
                 " (SELECT 1 FROM programmati_destinatari WHERE programma = ? AND Stato = 0) RETURNING id");
    st.bind(1, id);
    st.bind(2, id);
    const bool closed = st.step();
    st.reset();
    return closed;
}

RecipientCounts ScheduledStore::counts(qint64 id)
{
    RecipientCounts counts;
    if (!hasTables())
        return counts;
    Statement st(*db_, "SELECT Stato, count(*), coalesce(sum(Parti), 0), coalesce(sum(Accettati), 0),"
                       " coalesce(sum(CASE WHEN Esito <> 0 THEN 1 ELSE 0 END), 0) FROM "
                       "programmati_destinatari WHERE programma = ?"
                       " GROUP BY Stato");
    st.bind(1, id);
    while (st.step()) {
        const int count = int(st.integer(1));
        switch (st.integer(0)) {
        case Waiting:
            counts.waiting = count;
            counts.waitingSms = int(st.integer(2));
            break;
        case UnderWay:
            counts.underWay = count;
            break;
        case Served:
            counts.served = count;
            counts.acceptedSms = int(st.integer(3));
            counts.refused = int(st.integer(4));
            break;
        }
    }
    return counts;
}

QStringList ScheduledStore::refusals(qint64 id)
{
    QStringList refused;
    if (!hasTables())
        return refused;
    Statement st(*db_,
                 "SELECT cellulare, Esito FROM programmati_destinatari WHERE programma = ? AND Stato = 2"
                 " AND Esito <> 0 ORDER BY posizione");
    st.bind(1, id);
    while (st.step())
        refused << QStringLiteral("%1: %2").arg(st.text(0)).arg(st.integer(1));
    return refused;
}

QStringList ScheduledStore::underWay(qint64 id)
{
    QStringList numbers;
    if (!hasTables())
        return numbers;
    Statement st(*db_, "SELECT cellulare FROM programmati_destinatari WHERE programma = ? AND Stato = 1"
                       " ORDER BY posizione");
    st.bind(1, id);
    while (st.step())
        numbers << st.text(0);
    return numbers;
}

} // namespace parlix
