#include "batchjournal.h"

#include "store/database.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "store/transaction.h"

#include <algorithm>
#include <set>

namespace parlix {

namespace {

bool tiedToRows(Database& db)
{
    return db.fields(QStringLiteral("lotti")).contains(QStringLiteral("inviati"), Qt::CaseInsensitive);
}

void prepare(Database& db)
{
    // A "sending" mark must survive a power cut, or the recipient would be
    // offered again: every commit is flushed to disk. Blocks of recipients
    // (one commit per block, see BatchSender) keep the cost low.
    db.makeCommitsDurable();
    // Two seats opening the same book's journal for the first time make the tables once.
    if (!db.hasTable(QStringLiteral("lotti")) || !db.hasTable(QStringLiteral("destinatari"))) {
        Transaction transaction(db, Transaction::Mode::Exclusive);
        schema::addJournalTables(db);
        transaction.commit();
    }
    // Journals made before batches were tied to their inviati row.
    if (!tiedToRows(db)) {
        Transaction transaction(db, Transaction::Mode::Exclusive);
        if (!tiedToRows(db))
            db.exec(QStringLiteral("ALTER TABLE lotti ADD COLUMN inviati %1")
                        .arg(db.columnType(Database::ColumnType::Integer))
                        .toUtf8()
                        .constData());
        transaction.commit();
    }
}

BatchJournal::Batch batchFrom(Statement& st)
{
    return {st.integer(0), st.text(1), st.text(2), st.integer(3) != 0};
}

} // namespace

BatchJournal::BatchJournal(Store& store, const QString& bookPath) : BatchJournal(store.open(bookPath)) {}

BatchJournal::BatchJournal(std::shared_ptr<Database> book) : db_(std::move(book))
{
    prepare(*db_);
}

BatchJournal::~BatchJournal() = default;

long long BatchJournal::begin(const QString& data, const QString& testo,
                              const std::vector<Recipient>& recipients)
{
    // While a batch runs, the connection keeps the book's rollback file
    // between its commits, which would otherwise cost more than the gateway's answer.
    commitFiles_.keep(true);
    Transaction transaction(*db_);
    Statement batch(*db_, "INSERT INTO lotti (Data, Testo) VALUES (?, ?) RETURNING id");
    batch.bind(1, data);
    batch.bind(2, testo);
    if (!batch.step())
        throw StoreError::engine(QStringLiteral("nessun numero per il nuovo invio"));
    const long long batchId = batch.integer(0);
    batch.reset();
    Statement add(*db_, "INSERT INTO destinatari (lotto, posizione, cognome, cellulare) VALUES (?, ?, ?, ?)");
    for (std::size_t i = 0; i < recipients.size(); ++i) {
        add.bind(1, batchId);
        add.bind(2, static_cast<long long>(i));
        add.bind(3, recipients[i].cognome);
        add.bind(4, recipients[i].cellulare);
        add.step();
    }
    transaction.commit();
    return batchId;
}

void BatchJournal::setState(long long batch, int position, State state, long result)
{
    Statement st(*db_, "UPDATE destinatari SET stato = ?, esito = ? WHERE lotto = ? AND posizione = ?");
    st.bind(1, static_cast<long long>(state));
    st.bind(2, static_cast<long long>(result));
    st.bind(3, batch);
    st.bind(4, static_cast<long long>(position));
    st.step();
}

void BatchJournal::sending(long long batch, int position)
{
    setState(batch, position, State::Sending, 0);
}

void BatchJournal::answered(long long batch, int position, long result)
{
    setState(batch, position, result == 0 ? State::Accepted : State::Refused, result);
}

void BatchJournal::answered(long long batch, int position, long result, int next)
{
    record(batch, {{position, result}}, next, next + 1);
}

Statement& BatchJournal::cached(std::unique_ptr<Statement>& statement, const char* sql)
{
    if (!statement)
        statement = std::make_unique<Statement>(*db_, sql);
    return *statement;
}

void BatchJournal::setRange(long long batch, int from, int to, State state, State only)
{
    Statement& st = cached(markRange_, "UPDATE destinatari SET stato = ? WHERE lotto = ? AND stato = ?"
                                       " AND posizione >= ? AND posizione < ?");
    st.bind(1, static_cast<long long>(state));
    st.bind(2, batch);
    st.bind(3, static_cast<long long>(only));
    st.bind(4, static_cast<long long>(from));
    st.bind(5, static_cast<long long>(to));
    st.step();
}

void BatchJournal::record(long long batch, const std::vector<Answer>& answers, int markFrom, int markTo)
{
    Transaction transaction(*db_);
    Statement& st =
        cached(answer_, "UPDATE destinatari SET stato = ?, esito = ? WHERE lotto = ? AND posizione = ?");
    for (const Answer& answer : answers) {
        st.bind(1, static_cast<long long>(answer.result == 0 ? State::Accepted : State::Refused));
        st.bind(2, static_cast<long long>(answer.result));
        st.bind(3, batch);
        st.bind(4, static_cast<long long>(answer.position));
        st.step();
    }
    if (markFrom < markTo)
        setRange(batch, markFrom, markTo, State::Sending, State::Waiting);
    transaction.commit();
}

void BatchJournal::release(long long batch, int from, int to)
{
    if (from < to)
        setRange(batch, from, to, State::Waiting, State::Sending);
}

void BatchJournal::finish(long long batch)
{
    Statement st(*db_, "UPDATE lotti SET concluso = 1 WHERE id = ?");
    st.bind(1, batch);
    st.step();
    commitFiles_.keep(false);
}

std::vector<BatchJournal::Batch> BatchJournal::interrupted()
{
    std::vector<Batch> batches;
    Statement st(*db_, "SELECT id, Data, Testo, concluso FROM lotti WHERE concluso = 0 ORDER BY id");
    while (st.step())
        batches.push_back(batchFrom(st));
    return batches;
}

std::optional<BatchJournal::Batch> BatchJournal::batch(long long id)
{
    Statement st(*db_, "SELECT id, Data, Testo, concluso FROM lotti WHERE id = ?");
    st.bind(1, id);
    if (!st.step())
        return std::nullopt;
    Batch found = batchFrom(st);
    st.reset();
    return found;
}

void BatchJournal::link(long long batchId, const QString& cognome, const QString& cellulare)
{
    // One writer at a time: two batches with the same rows never take the same one.
    Transaction transaction(*db_);
    const auto linked = batch(batchId);
    if (!linked)
        return;
    std::set<long long> taken;
    Statement others(*db_, "SELECT inviati FROM lotti WHERE inviati IS NOT NULL AND Data = ? AND Testo = ?");
    others.bind(1, linked->data);
    others.bind(2, linked->testo);
    while (others.step())
        taken.insert(others.integer(0));
    long long record = 0;
    Recordset rows(db_, queries::messageByNumberAndDate(QStringLiteral("inviati"), cellulare, linked->data));
    for (; !rows.eof(); rows.moveNext()) {
        if (rows.field(u"Testo") == linked->testo && rows.field(u"cognome") == cognome &&
            rows.field(u"cellulare") == cellulare && !taken.contains(rows.rowid()))
            record = std::max(record, rows.rowid());
    }
    if (record == 0)
        return;
    Statement tie(*db_, "UPDATE lotti SET inviati = ? WHERE id = ?");
    tie.bind(1, record);
    tie.bind(2, batchId);
    tie.step();
    transaction.commit();
}

std::optional<long long> BatchJournal::find(long long record, const QString& data, const QString& testo)
{
    Statement tied(*db_,
                   "SELECT id FROM lotti WHERE inviati = ? AND Data = ? AND Testo = ? ORDER BY id DESC");
    tied.bind(1, record);
    tied.bind(2, data);
    tied.bind(3, testo);
    if (tied.step()) {
        const long long id = tied.integer(0);
        tied.reset();
        return id;
    }
    Statement st(
        *db_,
        "SELECT id FROM lotti WHERE inviati IS NULL AND Data = ? AND Testo = ? ORDER BY id DESC LIMIT 1");
    st.bind(1, data);
    st.bind(2, testo);
    if (!st.step())
        return std::nullopt;
    const long long id = st.integer(0);
    st.reset();
    return id;
}

std::vector<BatchJournal::Entry> BatchJournal::entries(long long batch)
{
    std::vector<Entry> list;
    Statement st(
        *db_, "SELECT cognome, cellulare, stato, esito FROM destinatari WHERE lotto = ? ORDER BY posizione");
    st.bind(1, batch);
    while (st.step())
        list.push_back(
            {{st.text(0), st.text(1)}, static_cast<State>(st.integer(2)), static_cast<long>(st.integer(3))});
    return list;
}

std::vector<BatchJournal::Recipient> BatchJournal::unserved(long long batch)
{
    std::vector<Recipient> list;
    for (const Entry& entry : entries(batch)) {
        if (entry.state == State::Waiting)
            list.push_back(entry.recipient);
    }
    return list;
}

} // namespace parlix
