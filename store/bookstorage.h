#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace parlix {

// A change made to the tables of a book that the book list has yet to follow.
// The caller changes the list's rows, then calls finish(); when the rows
// cannot change, undo(). One dropped with neither (a crash does the same)
// stays recorded: BookStorage::repair() settles it as the list then says.
class BookChange
{
public:
    virtual ~BookChange() = default;

    // The list follows the change: whatever was kept to undo it goes.
    virtual void finish() = 0;
    // Puts the book back as it was. False when it could not be: the change
    // then stays recorded for repair(), and the book is kept where it is.
    [[nodiscard]] virtual bool undo() = 0;
};

// Where the tables of each address book live: a copy of the template file
// under "rubriche", or a schema of the shared database. The book list itself
// is kept by the caller (BookCatalog); on a shared database these operations
// join the transaction open on the list, so a book and its row come and go
// together, and their changes have nothing of their own to finish or undo.
class BookStorage
{
public:
    virtual ~BookStorage() = default;

    // Whether a book of exactly this name has its tables.
    virtual bool exists(const QString& name) = 0;
    // Makes the empty tables of a new book from the template. Throws
    // StoreError: Exists when the name is taken (files: in any case),
    // CannotOpen when a file cannot be made.
    [[nodiscard]] virtual std::unique_ptr<BookChange> create(const QString& name) = 0;
    // `listed`: the names the book list holds, whose tables are never taken
    // for another book's. A listed book without tables is no error. Throws
    // StoreError: Exists when `to` is taken, CannotOpen when a file cannot move.
    [[nodiscard]] virtual std::unique_ptr<BookChange> rename(const QString& from, const QString& to,
                                                             const QStringList& listed) = 0;
    // A book that is already gone is no error.
    [[nodiscard]] virtual std::unique_ptr<BookChange> drop(const QString& name,
                                                           const QStringList& listed) = 0;
    // Why this store cannot hold a book of that name, beyond the rules every
    // book name follows.
    virtual std::optional<QString> nameProblem(const QString& name) const = 0;
    // True when the operations above take part in the list's transaction.
    virtual bool transactional() const = 0;

    // Whether a change was left unsettled (by a crash, or an undo that
    // failed). No other change is made until repair() has settled it.
    virtual bool interrupted() = 0;
    // Finishes the unsettled change when the list follows it (`listed`: the
    // names it holds now), else takes it back. False when a file could not
    // be moved: the change stays recorded and nothing is lost.
    virtual bool repair(const QStringList& listed) = 0;
};

} // namespace parlix
