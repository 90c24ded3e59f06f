#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace parlix {

struct ProgramState;
class BookChange;
class BookStorage;
class Database;
class StoreError;
class Transaction;

// The address books of the data folder, and the only writer of the book
// list. A book exists twice, as a row of table elenco (field Rubrica) and as
// its tables in the store: a copy of the template named after it in
// "rubriche", or a schema of the shared database (see Store). Every change
// here makes the store's half through BookStorage, then the rows follow in
// the list's transaction; when they cannot, the store's half is undone. So
// the two stay in step, or a change left half-made (by a crash, or an undo
// that failed) is settled by repair() as the list says. Each catalog opens
// the book list for itself.
//
// Each change holds the book list's write lock from its checks to its end, so
// two processes on one data folder take turns; one left unsettled is settled
// before the next is made.
//
// Names are unique without regard to letter case (book files are found that
// way too), while "which row is this book" compares exactly. A stored name
// that is no acceptable book name, or whose file leads outside "rubriche", is
// damaged: it is listed but never acted on.
class BookCatalog
{
public:
    enum class Outcome {
        Done,
        Empty,        // the empty name: nothing to do
        InvalidName,  // refused as a file name, see bookNameProblem()
        Exists,       // another book has this name, ignoring case
        FileConflict, // "rubriche" already holds a file of that name that is no book of ours
        FileFailure,  // the book file could not be created, moved or deleted,
                      // or a change left half-made could not be settled first
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

    // Makes the book's tables from the template (a file is never replaced),
    // runs `fill` on them (in one transaction of the book), then appends the
    // row. When `fill` throws, the book is gone again and the error goes on
    // to the caller.
    Outcome create(const QString& name, const Fill& fill = {});
    // Removes every row that is exactly `name` and the book's tables; tables
    // that are already gone are no error.
    Outcome remove(const QString& name);
    // Renames the tables, then changes the rows, both under one lock; when
    // the rows cannot be changed the tables get their old name back.
    Outcome rename(const QString& from, const QString& to);
    // Makes sure a book of this name (ignoring case) is listed and has its
    // tables: a new name is created, a listed book without tables gets empty
    // ones, and tables without a row (a book whose row was lost) get their
    // row back, their contacts kept.
    Outcome ensure(const QString& name);

    // Completes or undoes a change that a crash interrupted, as the book list
    // says, and removes its temporary files; one whose file cannot be moved
    // stays recorded for the next try. Throws StoreError when the book list
    // cannot be read.
    void repair();

private:
    void openList();
    QStringList readRows();
    BookStorage& storage() const;
    bool shared() const;
    // Settles a change left unsettled before another is made; false when it
    // cannot be.
    bool settled(const QStringList& books);
    // Makes the store's half of a change, then `rows` and the commit of the
    // list's transaction; the half is undone when they fail. The steps are
    // marked for the crash tests.
    Outcome change(Transaction& transaction, const std::function<std::unique_ptr<BookChange>()>& make,
                   const std::function<void()>& rows, const char* madeStep, const char* listedStep);
    // What a refusal of the store tells the caller; nothing for a failure.
    std::optional<Outcome> refusal(const StoreError& error) const;
    void addRow(const QString& name);

    const ProgramState& state_;
    std::shared_ptr<Database> list_; // the book list, once opened
};

} // namespace parlix
