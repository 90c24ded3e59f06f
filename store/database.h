#pragma once

#include "store/preparedstatement.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct sqlite3;

namespace parlix {

struct Query;

// Rows read by one select: their row keys, and the UTF-8 text of their fields
// row after row in one buffer (cell k spans starts[k]..starts[k+1]).
struct RowBlock
{
    std::vector<long long> keys;
    QByteArray text;
    std::vector<qsizetype> starts;
};

// One open archive: the book list, the template or one book. It is either a
// SQLite file or a schema of a PostgreSQL database; recordsets reach it only
// through the operations below, so they work the same on both. Shared by the
// recordsets opened on it, so a recordset keeps its database alive.
//
// Every row has a key of its own (SQLite's rowid, a key column on PostgreSQL):
// changes and deletions name that key, so they touch only the row read.
class Database
{
public:
    // Opens an existing SQLite file for reading and writing. Throws StoreError
    // (CannotOpen, NotADatabase); a file that is not SQLite is left untouched.
    static std::shared_ptr<Database> open(const QString& path);
    // Creates a new, empty SQLite file (fails if it cannot be created).
    static std::shared_ptr<Database> create(const QString& path);

    virtual ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The data-folder path the archive was opened by.
    const QString& path() const { return path_; }
    // The SQLite connection; none for a PostgreSQL schema.
    virtual sqlite3* handle() const { return nullptr; }

    // Runs statements that take no values, in the store's own dialect.
    virtual void exec(const char* sql) = 0;
    virtual bool hasTable(const QString& table) = 0;
    // Whether the archive holds an index of that name.
    virtual bool hasIndex(const QString& index) = 0;

    // One transaction at a time; see Transaction for the usual way.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;

    // The fields of `table` in their stored order (the row key not among
    // them); empty when there is no such table.
    virtual QStringList fields(const QString& table) = 0;
    // Rows a whole-table walk reads at a time.
    virtual int blockRows() const = 0;
    // Appends to `rows` the rows of `query` whose key is above `after`, in key
    // order, every field of fields(); at most `limit` of them (0: all).
    virtual void select(const Query& query, long long after, int limit, RowBlock& rows) = 0;
    // The rows select() reads, all of them, from one statement for a caller
    // that steps through them in one go: each row the key, then every field
    // of fields(). The engine holds the rows for reading until step() finds
    // no more or the statement is gone. Null where the store reads in blocks
    // only.
    virtual std::unique_ptr<PreparedStatement> walk(const Query& /*query*/) { return nullptr; }
    virtual int count(const Query& query) = 0;
    virtual void insert(const QString& table, const QStringList& fields, const QStringList& values) = 0;
    virtual void update(const QString& table, long long key, const QStringList& fields,
                        const QStringList& values) = 0;
    virtual void remove(const QString& table, long long key) = 0;
    // How the engine reads the rows of `query` (its plan, steps joined by "; ").
    virtual QString queryPlan(const Query& query) = 0;

    // The column types of the tables the program adds to an archive beside the
    // book's own (the send journal, the batches kept for later).
    enum class ColumnType {
        Key, // the table's own integer key, given by the engine on insert
        Integer,
        Text,
        CaselessText, // compared without regard to case where the engine can
    };
    // How `type` is written in CREATE TABLE.
    virtual QString columnType(ColumnType type) const = 0;
    // A statement in the SQL both stores speak (see Statement).
    virtual std::unique_ptr<PreparedStatement> prepare(const QString& sql) = 0;
    // A write transaction that waits for, and holds off, every other one begun
    // this way on the same archive by any seat: what a reader that then writes
    // what it read (taking the next recipient of a batch) needs.
    virtual void beginExclusive() { begin(); }
    // Every commit on this connection is on the disk before it returns, so it
    // survives a power cut, whatever the server's or the library's default.
    virtual void makeCommitsDurable() = 0;
    // While a run of small commits goes on, keep what the engine makes for
    // each commit (SQLite's rollback file) rather than making it anew; false
    // goes back to the usual way. Nothing to do for a server.
    virtual void keepCommitFiles(bool /*keep*/) {}
    // Rows of `table` were written with their "id" given (a copy from another
    // store): rows added later get numbers after them.
    virtual void keysCopied(const QString& /*table*/) {}

protected:
    explicit Database(QString path) : path_(std::move(path)) {}

private:
    QString path_;
};

} // namespace parlix
