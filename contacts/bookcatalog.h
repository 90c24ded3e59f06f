#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace parlix {

struct ProgramState;
class BookStorage;
class Database;
class Transaction;

// The address books of the data folder. A book exists twice, as a row of
// table elenco (field Rubrica) and as a copy of the template named after it in
// "rubriche"; every change here keeps the two in step or leaves both as they
// were. Each catalog opens the book list for itself.
//
// Each change holds the book list's write lock from its checks to its end, so
// two processes on one data folder take turns. Before touching a file it
// records what it is about to do in "elenco.in-corso"; a crash at any step
// leaves a state that repair() at the next start completes or undoes.
//
// Names are unique without regard to letter case (book files are found that
// way too), while "which row is this book" compares exactly. A stored name
// that is no acceptable book name, or whose file leads outside "rubriche", is
// damaged: it is listed but never acted on.
//
// On a shared database (see Store) each book is a schema instead of a file,
// and every change is one transaction of the schema and the rows.
class BookCatalog
{
public:
    enum class Outcome {
        Done,
        Empty,        // the empty name: nothing to do
        InvalidName,  // refused as a file name, see bookNameProblem()
        Exists,       // another book has this name, ignoring case
        FileConflict, // "rubriche" already holds a file of that name that is no book of ours
        FileFailure,  // the book file could not be created, moved or deleted
        NoSuchBook,   // no row holds the name (any more)
        Damaged,      // the stored name is damaged, see above
    };

    explicit BookCatalog(const ProgramState& state) : state_(state) {}

    // The book names in stored order. Store failures throw StoreError here and below.
    QStringList names();
    bool exists(const QString& name);
    // Whether the book is listed and its tables are there to open, in
    // whichever store the folder uses.
    bool isStored(const QString& name);
    bool isDamaged(const QString& name) const;
    // Why a new name is refused (the rules of every book name, and those of
    // the store in use), if it is.
    std::optional<QString> nameProblem(const QString& name) const;

    // What goes into a new book before it is listed; throws StoreError to
    // give the book up.
    using Fill = std::function<void(const std::shared_ptr<Database>& book)>;

    // Copies the template to "rubriche/<name>" (making the folder if needed,
    // never replacing a file), runs `fill` on it (in one transaction of the
    // book), then appends the row. When `fill` throws, the book is gone again
    // and the error goes on to the caller.
    Outcome create(const QString& name, const Fill& fill = {});
    // Removes every row that is exactly `name` and the book's file; a file
    // that is already gone is no error.
    Outcome remove(const QString& name);
    // Moves the file, then changes the rows, both under one lock; when the
    // rows cannot be changed the file is moved back.
    Outcome rename(const QString& from, const QString& to);
    // Makes sure a book of this name (ignoring case) is listed and has its
    // tables: a new name is created, a listed book without tables gets empty
    // ones, and tables without a row (a book whose row was lost) get their
    // row back, their contacts kept.
    Outcome ensure(const QString& name);

    // Completes or undoes an operation that a crash interrupted and removes
    // its temporary files. Throws StoreError when the book list cannot be read.
    void repair();

private:
    void openList();
    QStringList readRows();
    // The file of book `name`: the exact name, else one that differs only in
    // case and belongs to no other book. Empty when there is none.
    QString existingFile(const QString& name, const QStringList& books) const;
    QString intentPath() const;
    BookStorage& storage() const;
    bool shared() const;
    // Makes `change` in the list's transaction and commits it; a name another
    // seat took meanwhile gives Exists.
    Outcome sharedChange(Transaction& transaction, const std::function<void()>& change);
    Outcome sharedCreate(const QString& name, const Fill& fill, Transaction& transaction);
    Outcome sharedRemove(const QString& name, Transaction& transaction);
    Outcome sharedRename(const QString& from, const QString& to, Transaction& transaction);
    QString trashPath() const;

    const ProgramState& state_;
    std::shared_ptr<Database> list_; // the book list, once opened
};

} // namespace parlix
