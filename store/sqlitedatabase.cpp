#include "sqlitedatabase.h"

#include "store/query.h"
#include "store/storeerror.h"

#include <QFileInfo>

#include <cstring>
#include <limits>

#include <sqlite3.h>

namespace parlix {

namespace {

// Another window may hold the same file for a moment (the list reading while
// an editor writes); wait a little rather than fail at once.
constexpr int busyTimeoutMs = 5000;

// Rows read per block of a whole table: large enough that walking a whole
// book costs about the same as one uninterrupted statement, small enough to
// keep little in memory.
constexpr int tableBlockRows = 2048;

// Table and field names come from the program, never from the user; refuse
// anything that is not a plain identifier all the same.
QString identifier(const QString& name)
{
    if (name.isEmpty())
        throw StoreError::engine(QStringLiteral("nome di tabella vuoto"));
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_')
            throw StoreError::engine(QStringLiteral("nome non valido: %1").arg(name));
    }
    return u'"' + name + u'"';
}

// The condition of `query` with its values in binding order. Every column is
// declared COLLATE NOCASE, so "=" and LIKE ignore case here.
QString whereText(const Query& query, QStringList& values)
{
    QStringList parts;
    for (const Condition& c : query.conditions) {
        if (c.match == Condition::Match::Key) {
            parts << QStringLiteral("rowid = CAST(? AS INTEGER)");
            values << c.value;
        } else if (c.match == Condition::Match::Equal) {
            parts << identifier(c.field) + QStringLiteral(" = ?");
            values << c.value;
        } else {
            // NOCASE folds ASCII letters only: each spelling of the others is
            // a range of the field's index, and SQLite unites the ranges.
            QStringList spellings;
            for (const QString& spelling : queries::caseSpellings(c.value)) {
                spellings << identifier(c.field) + QStringLiteral(" LIKE ? ESCAPE '\\'");
                values << queries::likePrefix(spelling);
            }
            parts << (spellings.size() == 1 ? spellings.first()
                                            : u'(' + spellings.join(QStringLiteral(" OR ")) + u')');
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

void bindAll(SqliteStatement& st, const QStringList& values)
{
    for (int i = 0; i < values.size(); ++i)
        st.bind(i + 1, values[i]);
}

} // namespace

SqliteDatabase::SqliteDatabase(sqlite3* db, QString path) : Database(std::move(path)), db_(db) {}

SqliteDatabase::~SqliteDatabase()
{
    select_.reset();
    insert_.reset();
    sqlite3_close_v2(db_);
}

std::shared_ptr<SqliteDatabase> SqliteDatabase::openWithFlags(const QString& path, int flags)
{
    sqlite3* db = nullptr;
    const QByteArray native = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(native.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        throw StoreError::cannotOpen(path);
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    // Whatever the library was built with, a commit is on the disk when it returns.
    sqlite3_exec(db, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
    return std::shared_ptr<SqliteDatabase>(new SqliteDatabase(db, path));
}

std::shared_ptr<SqliteDatabase> SqliteDatabase::open(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        throw StoreError::cannotOpen(path);
    auto db = openWithFlags(path, SQLITE_OPEN_READWRITE);
    // SQLite reads the header lazily: touch the schema now so that a file of
    // another kind is reported here, before anything could be written to it.
    const int rc = sqlite3_exec(db->db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if ((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT)
        throw StoreError::notADatabase(path);
    if (rc != SQLITE_OK)
        throw StoreError::cannotOpen(path);
    return db;
}

std::shared_ptr<SqliteDatabase> SqliteDatabase::create(const QString& path)
{
    return openWithFlags(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

void SqliteDatabase::exec(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString detail = QString::fromUtf8(error ? error : "?");
        sqlite3_free(error);
        throw StoreError::engine(detail);
    }
}

bool SqliteDatabase::hasTable(const QString& table)
{
    SqliteStatement st(db_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    st.bind(1, table);
    return st.step();
}

bool SqliteDatabase::hasIndex(const QString& index)
{
    SqliteStatement st(db_, "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ? COLLATE NOCASE");
    st.bind(1, index);
    return st.step();
}

// Writers take the file's write lock at once, so two windows never both read
// and then both write.
void SqliteDatabase::begin()
{
    exec("BEGIN IMMEDIATE");
}

void SqliteDatabase::commit()
{
    exec("COMMIT");
}

void SqliteDatabase::rollback()
{
    exec("ROLLBACK");
}

QStringList SqliteDatabase::fields(const QString& table)
{
    if (!hasTable(table))
        return {};
    SqliteStatement st(db_, QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(identifier(table)));
    QStringList names;
    for (int c = 0; c < st.columnCount(); ++c)
        names << st.columnName(c);
    return names;
}

int SqliteDatabase::blockRows() const
{
    return tableBlockRows;
}

// A whole table is read in rowid order straight off the table. The rows
// matching a condition are read all at once: each block would search and
// sort the matches again. "+rowid" keeps the planner on the condition's
// index rather than walking the table in rowid order.
QString SqliteDatabase::selectSql(const Query& query, int limit) const
{
    QStringList values;
    const QString where = whereText(query, values);
    QString sql = where.isEmpty()
                      ? QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid > ? ORDER BY rowid")
                            .arg(identifier(query.table))
                      : QStringLiteral("SELECT rowid, * FROM %1 WHERE (%2) AND rowid > ? ORDER BY +rowid")
                            .arg(identifier(query.table), where);
    if (limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(limit);
    return sql;
}

void SqliteDatabase::select(const Query& query, long long after, int limit, RowBlock& rows)
{
    QStringList values;
    whereText(query, values);
    const QString sql = selectSql(query, limit);
    if (!select_ || sql != selectText_) {
        select_.reset();
        select_ = std::make_unique<SqliteStatement>(db_, sql);
        selectText_ = sql;
    }
    SqliteStatement& st = *select_;
    bindAll(st, values);
    st.bind(int(values.size()) + 1, after);
    const int columns = st.columnCount();
    int read = 0;
    while (st.step()) {
        rows.keys.push_back(st.integer(0));
        for (int c = 1; c < columns; ++c) {
            // Straight into the buffer, which keeps its room from block to block.
            const QByteArrayView value = st.utf8(c);
            const qsizetype at = rows.text.size();
            rows.starts.push_back(at);
            if (!value.isEmpty()) {
                rows.text.resize(at + value.size());
                std::memcpy(rows.text.data() + at, value.data(), size_t(value.size()));
            }
        }
        if (++read == limit) {
            // Let go of the statement: it would hold a read lock on the file.
            st.reset();
            break;
        }
    }
}

std::unique_ptr<PreparedStatement> SqliteDatabase::walk(const Query& query)
{
    QStringList values;
    whereText(query, values);
    // A statement of its own: the cached select serves the block readers.
    auto st = std::make_unique<SqliteStatement>(db_, selectSql(query, 0));
    bindAll(*st, values);
    st->bind(int(values.size()) + 1, std::numeric_limits<long long>::min());
    return st;
}

int SqliteDatabase::count(const Query& query)
{
    QStringList values;
    const QString where = whereText(query, values);
    SqliteStatement st(db_, QStringLiteral("SELECT count(*) FROM ") + identifier(query.table) +
                                (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
    bindAll(st, values);
    return st.step() ? int(st.integer(0)) : 0;
}

void SqliteDatabase::insert(const QString& table, const QStringList& fields, const QStringList& values)
{
    QString sql;
    if (fields.isEmpty()) {
        sql = QStringLiteral("INSERT INTO ") + identifier(table) + QStringLiteral(" DEFAULT VALUES");
    } else {
        QStringList columns;
        for (const QString& field : fields)
            columns << identifier(field);
        const QStringList marks(columns.size(), QStringLiteral("?"));
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(identifier(table), columns.join(u','), marks.join(u','));
    }
    // An import appends many rows in a row: keep the statement prepared.
    if (!insert_ || sql != insertText_) {
        insert_.reset();
        insert_ = std::make_unique<SqliteStatement>(db_, sql);
        insertText_ = sql;
    }
    bindAll(*insert_, values);
    insert_->step();
}

void SqliteDatabase::update(const QString& table, long long key, const QStringList& fields,
                            const QStringList& values)
{
    QStringList columns;
    for (const QString& field : fields)
        columns << identifier(field) + QStringLiteral(" = ?");
    SqliteStatement st(db_, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                .arg(identifier(table), columns.join(QStringLiteral(", "))));
    bindAll(st, values);
    st.bind(int(values.size()) + 1, key);
    st.step();
}

void SqliteDatabase::remove(const QString& table, long long key)
{
    SqliteStatement st(db_, QStringLiteral("DELETE FROM ") + identifier(table) +
                                QStringLiteral(" WHERE rowid = ?"));
    st.bind(1, key);
    st.step();
}

QString SqliteDatabase::queryPlan(const Query& query)
{
    QStringList values;
    whereText(query, values);
    SqliteStatement plan(db_, QStringLiteral("EXPLAIN QUERY PLAN ") +
                                  selectSql(query, query.conditions.empty() ? blockRows() : 0));
    bindAll(plan, values);
    plan.bind(int(values.size()) + 1, 0LL);
    QStringList steps;
    while (plan.step())
        steps << plan.text(3);
    return steps.join(QStringLiteral("; "));
}

QString SqliteDatabase::columnType(ColumnType type) const
{
    switch (type) {
    case ColumnType::Key:
        return QStringLiteral("INTEGER PRIMARY KEY");
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::Text:
        return QStringLiteral("TEXT");
    case ColumnType::CaselessText:
        return QStringLiteral("TEXT COLLATE NOCASE");
    }
    return {};
}

std::unique_ptr<PreparedStatement> SqliteDatabase::prepare(const QString& sql)
{
    return std::make_unique<SqliteStatement>(db_, sql);
}

// FULL: with the rollback journal the program uses, the journal is synced
// before the book is written and the book before the commit is marked done.
void SqliteDatabase::makeCommitsDurable()
{
    exec("PRAGMA synchronous = FULL");
}

void SqliteDatabase::keepCommitFiles(bool keep)
{
    exec(keep ? "PRAGMA journal_mode = PERSIST" : "PRAGMA journal_mode = DELETE");
}

} // namespace parlix
