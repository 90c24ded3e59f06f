#pragma once

#include <QByteArrayView>
#include <QString>

struct sqlite3_stmt;

namespace parlix {

class Database;

// A prepared statement: values are always bound, never joined into the text.
class Statement
{
public:
    Statement(Database& db, const char* sql);
    Statement(Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QString& value); // 1-based, as SQLite counts
    void bind(int index, long long value);
    // Advances to the next row; false when there is none (the statement is then reset,
    // so it holds no read lock on the file).
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QString text(int column) const;
    // The column's UTF-8 bytes, valid until the next step or reset.
    QByteArrayView utf8(int column) const;
    long long integer(int column) const;

private:
    void prepare(const QByteArray& sql);

    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace parlix
