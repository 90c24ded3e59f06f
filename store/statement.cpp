#include "statement.h"

#include "database.h"
#include "storeerror.h"

#include <sqlite3.h>

namespace parlix {

namespace {
QString lastError(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}
} // namespace

Statement::Statement(Database& db, const char* sql) : db_(db)
{
    prepare(QByteArray(sql));
}

Statement::Statement(Database& db, const QString& sql) : db_(db)
{
    prepare(sql.toUtf8());
}

void Statement::prepare(const QByteArray& sql)
{
    if (!db_.handle())
        throw StoreError::engine(QStringLiteral("istruzione SQLite su un archivio di altro tipo"));
    if (sqlite3_prepare_v2(db_.handle(), sql.constData(), int(sql.size()), &stmt_, nullptr) != SQLITE_OK)
        throw StoreError::engine(lastError(db_.handle()));
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

void Statement::bind(int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    if (sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        throw StoreError::engine(lastError(db_.handle()));
}

void Statement::bind(int index, long long value)
{
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        throw StoreError::engine(lastError(db_.handle()));
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    sqlite3_reset(stmt_);
    if (rc == SQLITE_DONE)
        return false;
    throw StoreError::engine(lastError(db_.handle()));
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

QString Statement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
}

QByteArrayView Statement::utf8(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return {data, sqlite3_column_bytes(stmt_, column)};
}

long long Statement::integer(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

} // namespace parlix
