#pragma once

#include <QByteArrayView>
#include <QString>

#include <memory>

namespace parlix {

class Database;
class PreparedStatement;

// A prepared statement: values are always bound, never joined into the text.
// The text is in the part of SQL both stores speak: values marked "?", table
// names unqualified (they are those of the archive), mixed-case columns of the
// book tables written in double quotes ("Data", "Testo", "Nome", "Rubrica").
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
    // A text already in UTF-8: no conversion on the way to the engine.
    void bindUtf8(int index, QByteArrayView value);
    void bindNull(int index);
    // Advances to the next row; false when there is none (the statement is then reset,
    // so it holds no read lock on the archive). Bound values stay for the next run.
    bool step();
    void reset();

    // The columns of the answer, known once a step has run.
    int columnCount() const;
    QString columnName(int column) const;
    // A NULL reads as a null QString and as 0.
    QString text(int column) const;
    // The column's UTF-8 bytes, valid until the next step or reset.
    QByteArrayView utf8(int column) const;
    long long integer(int column) const;

private:
    std::unique_ptr<PreparedStatement> impl_;
};

} // namespace parlix
