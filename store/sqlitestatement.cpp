#include "sqlitestatement.h"

#include "store/storeerror.h"

#include <sqlite3.h>

namespace parlix {

namespace {
QString lastError(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}
} // namespace

SqliteStatement::SqliteStatement(sqlite3* db, const QByteArray& sql) : db_(db)
{
    if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &stmt_, nullptr) != SQLITE_OK)
        throw StoreError::engine(lastError(db_));
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(stmt_);
}

void SqliteStatement::bind(int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    if (sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        throw StoreError::engine(lastError(db_));
}

void SqliteStatement::bind(int index, long long value)
{
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        throw StoreError::engine(lastError(db_));
}

void SqliteStatement::bindUtf8(int index, QByteArrayView value)
{
    // A null view is still a text, empty, as bind() gives for an empty QString.
    if (sqlite3_bind_text(stmt_, index, value.data() ? value.data() : "", int(value.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        throw StoreError::engine(lastError(db_));
}

void SqliteStatement::bindNull(int index)
{
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK)
        throw StoreError::engine(lastError(db_));
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    sqlite3_reset(stmt_);
    if (rc == SQLITE_DONE)
        return false;
    throw StoreError::engine(lastError(db_));
}

void SqliteStatement::reset()
{
    sqlite3_reset(stmt_);
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString SqliteStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

QString SqliteStatement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
}

QByteArrayView SqliteStatement::utf8(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return {data, sqlite3_column_bytes(stmt_, column)};
}

long long SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

} // namespace parlix
