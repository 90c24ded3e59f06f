#pragma once

#include "store/database.h"

namespace parlix {

class PgConnection;

// A book, the template or the book list as one schema of a PostgreSQL
// database. Every table has a key column "chiave" of its own, which orders the
// rows as they were stored; the other columns are those of the SQLite files.
// The tables the program adds to a book (the send journal, the batches kept
// for later) have keys of their own instead and are read through Statement,
// whose unqualified table names are this schema's.
class PgDatabase : public Database
{
public:
    PgDatabase(std::shared_ptr<PgConnection> connection, QString schema, QString path);

    PgConnection& connection() const { return *connection_; }

    void exec(const char* sql) override;
    bool hasTable(const QString& table) override;
    bool hasIndex(const QString& index) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    QStringList fields(const QString& table) override;
    int blockRows() const override;
    void select(const Query& query, long long after, int limit, RowBlock& rows) override;
    int count(const Query& query) override;
    void insert(const QString& table, const QStringList& fields, const QStringList& values) override;
    void update(const QString& table, long long key, const QStringList& fields,
                const QStringList& values) override;
    void remove(const QString& table, long long key) override;
    QString queryPlan(const Query& query) override;
    QString columnType(ColumnType type) const override;
    std::unique_ptr<PreparedStatement> prepare(const QString& sql) override;
    void beginExclusive() override;
    void makeCommitsDurable() override;
    void keysCopied(const QString& table) override;

private:
    QString qualified(const QString& table) const;
    // The stored spelling of `field` in `table` (quoted identifiers keep case).
    QString column(const QString& table, const QString& field);
    QString whereText(const Query& query, QStringList& values);
    QString selectSql(const Query& query, long long after, int limit, QStringList& values);

    std::shared_ptr<PgConnection> connection_;
    QString schema_;
};

} // namespace parlix
