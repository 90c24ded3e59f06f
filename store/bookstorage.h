#pragma once

#include <QString>

#include <optional>

namespace parlix {

// Where the tables of each address book live: a copy of the template file
// under "rubriche", or a schema of the shared database. The book list itself
// is kept by the caller; on a shared database these operations join the
// transaction open on the list, so a book and its row come and go together.
class BookStorage
{
public:
    virtual ~BookStorage() = default;

    // Whether a book of exactly this name has its tables.
    virtual bool exists(const QString& name) = 0;
    // Makes the empty tables of a new book from the template. Throws
    // StoreError: Exists when the name is taken.
    virtual void create(const QString& name) = 0;
    virtual void rename(const QString& from, const QString& to) = 0;
    // A book that is already gone is no error.
    virtual void drop(const QString& name) = 0;
    // Why this store cannot hold a book of that name, beyond the rules every
    // book name follows.
    virtual std::optional<QString> nameProblem(const QString& name) const = 0;
    // True when the operations above take part in the list's transaction.
    virtual bool transactional() const = 0;
};

} // namespace parlix
