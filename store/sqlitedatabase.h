#pragma once

#include "store/database.h"
#include "store/sqlitestatement.h"

namespace parlix {

// A book, the template or the book list as one SQLite file.
class SqliteDatabase : public Database
{
public:
    static std::shared_ptr<SqliteDatabase> open(const QString& path);
    static std::shared_ptr<SqliteDatabase> create(const QString& path);
    ~SqliteDatabase() override;

    sqlite3* handle() const override { return db_; }
    void exec(const char* sql) override;
    bool hasTable(const QString& table) override;
    bool hasIndex(const QString& index) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    QStringList fields(const QString& table) override;
    int blockRows() const override;
    void select(const Query& query, long long after, int limit, RowBlock& rows) override;
    std::unique_ptr<PreparedStatement> walk(const Query& query) override;
    int count(const Query& query) override;
    void insert(const QString& table, const QStringList& fields, const QStringList& values) override;
    void update(const QString& table, long long key, const QStringList& fields,
                const QStringList& values) override;
    void remove(const QString& table, long long key) override;
    QString queryPlan(const Query& query) override;
    QString columnType(ColumnType type) const override;
    std::unique_ptr<PreparedStatement> prepare(const QString& sql) override;
    void makeCommitsDurable() override;
    void keepCommitFiles(bool keep) override;

private:
    SqliteDatabase(sqlite3* db, QString path);
    static std::shared_ptr<SqliteDatabase> openWithFlags(const QString& path, int flags);
    QString selectSql(const Query& query, int limit) const;

    sqlite3* db_;
    // The last select stays prepared: a walk reads block after block with it.
    QString selectText_;
    std::unique_ptr<SqliteStatement> select_;
    QString insertText_;
    std::unique_ptr<SqliteStatement> insert_;
};

} // namespace parlix
