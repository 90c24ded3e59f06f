#include "database.h"

#include "statement.h"
#include "storeerror.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace parlix {

namespace {
// Another window may hold the same file for a moment (the list reading while
// an editor writes); wait a little rather than fail at once.
constexpr int busyTimeoutMs = 5000;
} // namespace

Database::Database(sqlite3* db, QString path) : db_(db), path_(std::move(path)) {}

Database::~Database()
{
    sqlite3_close_v2(db_);
}

std::shared_ptr<Database> Database::openWithFlags(const QString& path, int flags)
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
    return std::shared_ptr<Database>(new Database(db, path));
}

std::shared_ptr<Database> Database::open(const QString& path)
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

std::shared_ptr<Database> Database::create(const QString& path)
{
    return openWithFlags(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

void Database::exec(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString detail = QString::fromUtf8(error ? error : "?");
        sqlite3_free(error);
        throw StoreError::engine(detail);
    }
}

bool Database::hasTable(const QString& table)
{
    Statement st(*this, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    st.bind(1, table);
    return st.step();
}

} // namespace parlix
