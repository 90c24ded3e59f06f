#pragma once

#include "store/preparedstatement.h"

#include <QByteArray>

struct sqlite3;
struct sqlite3_stmt;

namespace parlix {

// A statement prepared on a SQLite connection.
class SqliteStatement final : public PreparedStatement
{
public:
    SqliteStatement(sqlite3* db, const QByteArray& sql);
    SqliteStatement(sqlite3* db, const QString& sql) : SqliteStatement(db, sql.toUtf8()) {}
    SqliteStatement(sqlite3* db, const char* sql) : SqliteStatement(db, QByteArray(sql)) {}
    ~SqliteStatement() override;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const QString& value) override;
    void bind(int index, long long value) override;
    void bindUtf8(int index, QByteArrayView value) override;
    void bindNull(int index) override;
    bool step() override;
    void reset() override;

    int columnCount() const override;
    QString columnName(int column) const override;
    QString text(int column) const override;
    QByteArrayView utf8(int column) const override;
    long long integer(int column) const override;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace parlix
