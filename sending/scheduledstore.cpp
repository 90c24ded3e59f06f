#include "scheduledstore.h"

#include "sending/batchplan.h"
#include "sending/exchangeoutcome.h"
#include "sending/runnername.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "store/transaction.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace parlix {

namespace {

// Moved: never tried here, handed to a batch that sends the same text again.
// Excluded: in the opt-out register, never sent.
enum RecipientState : int { Waiting = 0, UnderWay = 1, Served = 2, Moved = 3, Excluded = 4 };

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
    "id, Quando, Testo, Suddivisione, Flash, Mittente, cognome, cellulare, Immediato, Stato, Account, "
    "Inviato,"
    " (SELECT count(*) FROM programmati_destinatari d WHERE d.programma = p.id),"
    " (SELECT coalesce(sum(Parti), 0) FROM programmati_destinatari d WHERE d.programma = p.id AND d.Stato <> "
    "4)";

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
    batch.account = st.text(10);
    batch.sentDate = st.text(11);
    batch.recipients = int(st.integer(12));
    batch.sms = int(st.integer(13));
    return batch;
}

// The parts a recipient gets, kept only where splitting its text again would
// not give them (the composer's own parts): otherwise empty. A batch without
// fields has one text for all: it is split once, not once per recipient.
class PartsKeeper
{
public:
    explicit PartsKeeper(SplitMode split) : split_(split) {}

    QString text(const RecipientMessage& message)
    {
        if (!splitOnce_ || message.text != lastText_) {
            lastText_ = message.text;
            lastParts_ = MessageSplitter::split(message.text, split_);
            splitOnce_ = true;
        }
        if (message.parts == lastParts_)
            return {};
        return QString::fromUtf8(
            QJsonDocument(QJsonArray::fromStringList(message.parts)).toJson(QJsonDocument::Compact));
    }

private:
    SplitMode split_;
    bool splitOnce_ = false;
    QString lastText_;
    QStringList lastParts_;
};

QStringList partsFrom(const QString& kept, const QString& text, SplitMode split)
{
    if (kept.isEmpty())
        return MessageSplitter::split(text, split);
    QStringList parts;
    for (const QJsonValue& part : QJsonDocument::fromJson(kept.toUtf8()).array())
        parts << part.toString();
    return parts;
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

ScheduledStore::ScheduledStore(Store& store, const QString& bookPath) : db_(store.open(bookPath))
{
    // A runner's marks must survive a power cut like the journal's.
    db_->makeCommitsDurable();
    if (hasTables())
        addNewColumns();
    try {
        optOut_ = std::make_unique<OptOutRegister>(store, OptOutRegister::listPathOfBook(bookPath));
    } catch (const StoreError& error) {
        // A book file outside any data folder has no register; any other failure stops the batch.
        if (error.code() != StoreError::Code::CannotOpen)
            throw;
    }
}

const OptOutList& ScheduledStore::honoured()
{
    if (optOut_ && (!honouredAge_.isValid() || honouredAge_.elapsed() > 1000)) {
        honoured_ = optOut_->honoured();
        honouredAge_.start();
    }
    return honoured_;
}

void ScheduledStore::markExcluded(qint64 id, int position)
{
    Statement st(*db_,
                 "UPDATE programmati_destinatari SET Stato = 4, Esecutore = NULL WHERE programma = ? AND"
                 " posizione = ?");
    st.bind(1, id);
    st.bind(2, qint64(position));
    st.step();
}

int ScheduledStore::excludeRegistered(qint64 id)
{
    if (!hasTables() || honoured().isEmpty())
        return 0;
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    QList<int> positions;
    Statement st(*db_, "SELECT posizione, cellulare FROM programmati_destinatari WHERE programma = ? AND"
                       " Stato = 0 ORDER BY posizione");
    st.bind(1, id);
    while (st.step()) {
        if (honoured_.contains(st.text(1)))
            positions << int(st.integer(0));
    }
    for (const int position : positions)
        markExcluded(id, position);
    transaction.commit();
    return int(positions.size());
}

// Books whose tables were made before the batches kept their account, the
// date of their inviati row and their recipients' own parts, or before the
// index of the answers. Without that index only the statistics are slower: a
// seat that may not add it still sends.
void ScheduledStore::addNewColumns()
{
    if (!schema::lacksScheduledColumns(*db_) && !schema::lacksAnswersIndex(*db_))
        return;
    try {
        Transaction transaction(*db_, Transaction::Mode::Exclusive);
        schema::addScheduledColumns(*db_);
        transaction.commit();
    } catch (const StoreError&) {
        // Another seat added them at the same moment.
        if (schema::lacksScheduledColumns(*db_))
            throw;
    }
}

ScheduledStore::~ScheduledStore() = default;

const QString& ScheduledStore::path() const
{
    return db_->path();
}

bool ScheduledStore::hasTables()
{
    return db_->hasTable(batchTable()) && db_->hasTable(recipientTable());
}

qint64 ScheduledStore::add(const ScheduledBatch& batch, const BatchPlan& plan)
{
    return add(batch, plan.messages());
}

qint64 ScheduledStore::add(const ScheduledBatch& batch, const QList<RecipientMessage>& recipients)
{
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    if (!hasTables())
        schema::addScheduledTables(*db_);
    const qint64 id = insert(batch, recipients);
    transaction.commit();
    return id;
}

qint64 ScheduledStore::addStarted(const ScheduledBatch& batch, const QList<RecipientMessage>& recipients,
                                  const QString& date)
{
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    if (!hasTables())
        schema::addScheduledTables(*db_);
    const qint64 id = insert(batch, recipients);
    leave(id, batch, date);
    transaction.commit();
    return id;
}

qint64 ScheduledStore::insert(const ScheduledBatch& batch, const QList<RecipientMessage>& recipients)
{
    Statement insert(*db_, "INSERT INTO programmati (Quando, Testo, Suddivisione, Flash, Mittente, cognome,"
                           " cellulare, Immediato, Stato, Account) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
                           " RETURNING id");
    insert.bind(1, timeText(batch.due));
    insert.bind(2, batch.text);
    insert.bind(3, batch.split == SplitMode::Words ? QStringLiteral("parole") : QStringLiteral("fisso"));
    insert.bind(4, batch.flash ? 1LL : 0LL);
    insert.bind(5, batch.sender);
    insert.bind(6, batch.cognome);
    insert.bind(7, batch.cellulare);
    insert.bind(8, batch.immediate ? 1LL : 0LL);
    insert.bind(9, stateText(ScheduledBatch::State::Waiting));
    insert.bind(10, batch.account);
    insert.step();
    const qint64 id = insert.integer(0);
    insert.reset();

    Statement recipient(*db_, "INSERT INTO programmati_destinatari (programma, posizione, cellulare, Testo,"
                              " Parti, Pezzi, cognome, Stato) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    const OptOutList& excluded = honoured();
    int position = 0;
    PartsKeeper kept(batch.split);
    for (const RecipientMessage& message : recipients) {
        recipient.bind(8, qint64(excluded.contains(message.number) ? Excluded : Waiting));
        recipient.bind(1, id);
        recipient.bind(2, qint64(++position));
        recipient.bind(3, message.number);
        recipient.bind(4, message.text);
        recipient.bind(5, qint64(message.parts.size()));
        const QString parts = kept.text(message);
        if (parts.isEmpty())
            recipient.bindNull(6);
        else
            recipient.bind(6, parts);
        if (message.cognome.isEmpty())
            recipient.bindNull(7);
        else
            recipient.bind(7, message.cognome);
        recipient.step();
    }
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

QList<qint64> ScheduledStore::due(const QDateTime& now, const QString& account)
{
    QList<qint64> ids;
    if (!hasTables())
        return ids;
    Statement st(*db_,
                 "SELECT id FROM programmati p WHERE Immediato = 0 AND Quando <= ? AND (Stato = 'attesa'"
                 " OR (Stato = 'invio' AND EXISTS (SELECT 1 FROM programmati_destinatari d"
                 " WHERE d.programma = p.id AND d.Stato = 0))) AND coalesce(Account, '') IN ('', ?)"
                 " ORDER BY Quando, id");
    st.bind(1, timeText(now));
    st.bind(2, account);
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
    ScheduledBatch leaving;
    leaving.cognome = state.text(1);
    leaving.cellulare = state.text(2);
    leaving.text = state.text(3);
    state.reset();
    if (current == ScheduledBatch::State::Sending)
        return true;
    if (current != ScheduledBatch::State::Waiting)
        return false;
    leave(id, leaving, date);
    transaction.commit();
    return true;
}

void ScheduledStore::leave(qint64 id, const ScheduledBatch& batch, const QString& date)
{
    Statement row(*db_, "INSERT INTO inviati (cognome, cellulare, \"Data\", \"Testo\") VALUES (?, ?, ?, ?)");
    row.bind(1, batch.cognome);
    row.bind(2, batch.cellulare);
    row.bind(3, date);
    row.bind(4, batch.text);
    row.step();
    Statement leaving(*db_, "UPDATE programmati SET Stato = 'invio', Inviato = ? WHERE id = ?");
    leaving.bind(1, date);
    leaving.bind(2, id);
    leaving.step();
}

void ScheduledStore::markServed(qint64 id, const RecipientResult& served)
{
    if (served.unreached) {
        release(id, {served.position});
        return;
    }
    if (!markServed_)
        markServed_ = std::make_unique<Statement>(*db_, "UPDATE programmati_destinatari SET Stato = 2,"
                                                        " Esito = ?, Accettati = ? WHERE programma = ? AND"
                                                        " posizione = ?");
    Statement& st = *markServed_;
    st.bind(1, qint64(served.result));
    st.bind(2, qint64(served.accepted));
    st.bind(3, id);
    st.bind(4, qint64(served.position));
    st.step();
}

std::optional<RecipientClaim> ScheduledStore::next(qint64 id, const QString& owner,
                                                   const std::optional<RecipientResult>& served)
{
    QList<RecipientResult> results;
    if (served)
        results << *served;
    const QList<RecipientClaim> claims = claim(id, owner, results, 1);
    if (claims.isEmpty())
        return std::nullopt;
    return claims.constFirst();
}

QList<RecipientClaim> ScheduledStore::claim(qint64 id, const QString& owner,
                                            const QList<RecipientResult>& served, int count)
{
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    for (const RecipientResult& result : served)
        markServed(id, result);
    QList<RecipientClaim> claims;
    if (count > 0) {
        if (!split_ || split_->first != id) {
            Statement mode(*db_, "SELECT Suddivisione FROM programmati WHERE id = ?");
            mode.bind(1, id);
            split_.emplace(id,
                           mode.step() && mode.text(0) == u"parole" ? SplitMode::Words : SplitMode::Fixed);
            mode.reset();
        }
        if (!take_)
            take_ = std::make_unique<Statement>(
                *db_,
                "UPDATE programmati_destinatari SET Stato = 1, Esecutore = ?, Preso = ? WHERE programma = ?"
                " AND posizione IN (SELECT posizione FROM programmati_destinatari WHERE programma = ? AND"
                " Stato = 0 ORDER BY posizione LIMIT ?) RETURNING posizione, cellulare, Testo, Pezzi");
        Statement& take = *take_;
        const OptOutList& excluded = honoured();
        // Numbers registered since the batch was stored are skipped here; the
        // block is filled up from the recipients after them.
        while (claims.size() < count) {
            const qsizetype asked = count - claims.size();
            take.bind(1, owner);
            // When it was taken: how seats on other machines tell a runner at work (runnerMayBeAlive).
            take.bind(2, timeText(QDateTime::currentDateTimeUtc()));
            take.bind(3, id);
            take.bind(4, id);
            take.bind(5, qint64(asked));
            qsizetype rows = 0;
            QList<int> skipped;
            while (take.step()) {
                ++rows;
                const QString text = take.text(2);
                if (excluded.contains(take.text(1)))
                    skipped << int(take.integer(0));
                else
                    claims.append({int(take.integer(0)), take.text(1), text,
                                   partsFrom(take.text(3), text, split_->second)});
            }
            take.reset();
            for (const int position : skipped)
                markExcluded(id, position);
            if (skipped.isEmpty() || rows < asked)
                break;
        }
        // RETURNING gives the rows in no promised order.
        std::sort(claims.begin(), claims.end(),
                  [](const RecipientClaim& a, const RecipientClaim& b) { return a.position < b.position; });
    }
    transaction.commit();
    return claims;
}

void ScheduledStore::report(qint64 id, const RecipientResult& served)
{
    report(id, QList<RecipientResult>{served});
}

void ScheduledStore::report(qint64 id, const QList<RecipientResult>& served)
{
    if (served.isEmpty())
        return;
    Transaction transaction(*db_);
    for (const RecipientResult& result : served)
        markServed(id, result);
    transaction.commit();
}

void ScheduledStore::release(qint64 id, const QList<int>& positions)
{
    Statement st(*db_, "UPDATE programmati_destinatari SET Stato = 0, Esecutore = NULL WHERE programma = ?"
                       " AND posizione = ? AND Stato = 1");
    for (const int position : positions) {
        st.bind(1, id);
        st.bind(2, qint64(position));
        st.step();
    }
}

void ScheduledStore::endRun(qint64 id, const QList<RecipientResult>& served, const QList<int>& untried,
                            bool close)
{
    if (served.isEmpty() && untried.isEmpty() && !close)
        return;
    Transaction transaction(*db_);
    for (const RecipientResult& result : served)
        markServed(id, result);
    release(id, untried);
    if (close)
        closeIfServed(id);
    transaction.commit();
}

void ScheduledStore::close(qint64 id)
{
    Statement st(*db_, "UPDATE programmati SET Stato = 'concluso' WHERE id = ? AND Stato = 'invio'");
    st.bind(1, id);
    st.step();
}

std::optional<qint64> ScheduledStore::resend(qint64 id, const QDateTime& now, const QString& account)
{
    if (!hasTables())
        return std::nullopt;
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    const std::optional<ScheduledBatch> old = batch(id);
    if (!old)
        return std::nullopt;
    QList<RecipientMessage> again;
    QList<int> moved;
    Statement st(*db_,
                 "SELECT posizione, cellulare, Testo, Pezzi, Stato, coalesce(Esito, 0), cognome FROM"
                 " programmati_destinatari WHERE programma = ? AND (Stato = 0 OR (Stato = 2 AND Esito <> 0))"
                 " ORDER BY posizione");
    st.bind(1, id);
    while (st.step()) {
        const bool waiting = st.integer(4) == Waiting;
        if (!waiting && exchangeOutcome(long(st.integer(5))) == ExchangeOutcome::InDoubt)
            continue;
        const QString text = st.text(2);
        again.append({st.text(1), text, partsFrom(st.text(3), text, old->split), st.text(6)});
        if (waiting)
            moved << int(st.integer(0));
    }
    st.reset();
    if (again.isEmpty())
        return std::nullopt;
    Statement move(*db_, "UPDATE programmati_destinatari SET Stato = 3 WHERE programma = ? AND posizione = ?"
                         " AND Stato = 0");
    for (const int position : moved) {
        move.bind(1, id);
        move.bind(2, qint64(position));
        move.step();
    }
    ScheduledBatch batch = *old;
    batch.due = now;
    batch.immediate = true;
    batch.account = account;
    QStringList numbers;
    for (const RecipientMessage& message : again)
        numbers << message.number;
    batch.cellulare = numbers.join(u';');
    const qint64 added = insert(batch, again);
    transaction.commit();
    return added;
}

QList<ScheduledBatch> ScheduledStore::interrupted()
{
    QList<ScheduledBatch> batches;
    if (!hasTables())
        return batches;
    Statement st(*db_, QStringLiteral("SELECT %1 FROM programmati p WHERE Immediato = 1 AND Stato = 'invio'"
                                      " ORDER BY id")
                           .arg(QLatin1String(batchColumns)));
    while (st.step())
        batches << readBatch(st);
    batches.removeIf([this](const ScheduledBatch& batch) { return beingSent(batch.id); });
    return batches;
}

bool ScheduledStore::beingSent(qint64 id)
{
    Statement st(*db_, "SELECT Esecutore, max(Preso) FROM programmati_destinatari WHERE programma = ? AND"
                       " Stato = 1 GROUP BY Esecutore");
    st.bind(1, id);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    while (st.step()) {
        const QString runner = st.text(0);
        if (runner == runnerName() ? RunsHere::contains(db_->path(), id)
                                   : runnerMayBeAlive(runner, timeFromText(st.text(1)), now)) {
            st.reset();
            return true;
        }
    }
    return false;
}

std::optional<qint64> ScheduledStore::findSent(const QString& data, const QString& testo,
                                               const QString& cellulare)
{
    if (!hasTables())
        return std::nullopt;
    Statement st(*db_, "SELECT id FROM programmati WHERE Inviato = ? AND Testo = ? AND cellulare = ?"
                       " ORDER BY id DESC");
    st.bind(1, data);
    st.bind(2, testo);
    st.bind(3, cellulare);
    if (!st.step())
        return std::nullopt;
    const qint64 id = st.integer(0);
    st.reset();
    return id;
}

std::vector<RecipientEntry> ScheduledStore::entries(qint64 id)
{
    std::vector<RecipientEntry> list;
    if (!hasTables())
        return list;
    Statement st(*db_, "SELECT cellulare, Stato, coalesce(Esito, 0), cognome FROM programmati_destinatari"
                       " WHERE programma = ? ORDER BY posizione");
    st.bind(1, id);
    while (st.step()) {
        RecipientEntry entry{st.text(0), RecipientEntry::State::Waiting, long(st.integer(2)), st.text(3)};
        switch (st.integer(1)) {
        case UnderWay:
            entry.state = RecipientEntry::State::UnderWay;
            break;
        case Moved:
            entry.state = RecipientEntry::State::Moved;
            break;
        case Excluded:
            entry.state = RecipientEntry::State::Excluded;
            break;
        case Served:
            switch (exchangeOutcome(entry.result)) {
            case ExchangeOutcome::Accepted:
                entry.state = RecipientEntry::State::Accepted;
                break;
            case ExchangeOutcome::InDoubt:
                entry.state = RecipientEntry::State::InDoubt;
                break;
            default:
                entry.state = RecipientEntry::State::Refused;
                break;
            }
            break;
        default:
            break;
        }
        list.push_back(std::move(entry));
    }
    return list;
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
    Statement st(*db_, "SELECT Stato, count(*), coalesce(sum(Parti), 0), coalesce(sum(Accettati), 0) FROM "
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
            break;
        case Excluded:
            counts.excluded = count;
            break;
        }
    }
    counts.refused = int(refusals(id).size());
    counts.inDoubt = int(inDoubt(id).size());
    return counts;
}

namespace {

QStringList servedWith(Database& db, qint64 id, bool doubtful)
{
    QStringList found;
    Statement st(db, "SELECT cellulare, Esito FROM programmati_destinatari WHERE programma = ? AND Stato = 2"
                     " AND Esito <> 0 ORDER BY posizione");
    st.bind(1, id);
    while (st.step()) {
        if ((exchangeOutcome(long(st.integer(1))) == ExchangeOutcome::InDoubt) == doubtful)
            found << QStringLiteral("%1: %2").arg(st.text(0)).arg(st.integer(1));
    }
    return found;
}

} // namespace

QStringList ScheduledStore::refusals(qint64 id)
{
    return hasTables() ? servedWith(*db_, id, false) : QStringList();
}

QStringList ScheduledStore::inDoubt(qint64 id)
{
    return hasTables() ? servedWith(*db_, id, true) : QStringList();
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
