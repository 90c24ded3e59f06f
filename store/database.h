#pragma once

#include <QString>

#include <memory>

struct sqlite3;

namespace parlix {

// One open SQLite file. Shared by the recordsets opened on it, so a recordset
// keeps its database alive; the connection closes when the last owner goes.
class Database
{
public:
    // Opens an existing file for reading and writing. Throws StoreError
    // (CannotOpen, NotADatabase); a file that is not SQLite is left untouched.
    static std::shared_ptr<Database> open(const QString& path);
    // Creates a new, empty database file (fails if it cannot be created).
    static std::shared_ptr<Database> create(const QString& path);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    // Runs statements that take no values (schema set-up).
    void exec(const char* sql);
    bool hasTable(const QString& table);

private:
    Database(sqlite3* db, QString path);
    static std::shared_ptr<Database> openWithFlags(const QString& path, int flags);

    sqlite3* db_;
    QString path_;
};

} // namespace parlix
