#pragma once

#include <QString>

#include <stdexcept>

namespace parlix {

// Every failure of the address-book store. Callers catch it at the end of a
// command and either act on code() or show message() to the user.
class StoreError : public std::runtime_error
{
public:
    enum class Code {
        CannotOpen,      // the file is missing or cannot be opened
        NotADatabase,    // the file exists but is not one of our databases
        NoCurrentRecord, // field access, change or delete with no current row
        NoSuchTable,
        NoSuchField,
        Exists,         // a book or row of that name is already there (another seat may have made it)
        ConnectionLost, // the database server stopped answering; nothing of the last step was kept
        Engine,         // any other failure reported by the engine
    };

    StoreError(Code code, QString message);

    Code code() const { return code_; }
    // The Italian text shown to the user.
    const QString& message() const { return message_; }

    static StoreError cannotOpen(const QString& path);
    static StoreError notADatabase(const QString& path);
    static StoreError noCurrentRecord();
    static StoreError engine(const QString& detail);
    static StoreError connectionLost(const QString& detail);
    // A book of a shared store that is no longer there (CannotOpen): another
    // seat renamed or deleted it.
    static StoreError bookGone(const QString& book);

private:
    Code code_;
    QString message_;
};

} // namespace parlix
