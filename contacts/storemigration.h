#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace parlix {

class DataFolder;
class Store;

// Copies every book of one store into another: the book list in its order,
// and every row of every table of every book (with the send journal and the
// batches kept for later, where a book has them). The target must be empty:
// no book but "Principale", and that one without rows. Nothing is deleted at
// the source. Both stores are reached through the paths of `folder`.
//
// All or nothing: every name and every book is checked before anything is
// written (a name the target cannot hold stops the copy before it starts),
// books are made through the target's BookCatalog, and when the copy fails
// the target is left as it was found: on a shared database the whole copy is
// one transaction; into files, the books made are removed again and
// "Principale" emptied.
class StoreMigration
{
public:
    StoreMigration(const DataFolder& folder, std::shared_ptr<Store> from, std::shared_ptr<Store> to);

    // Reports one line per book copied. Throws StoreError, the target as it
    // was. Returns the number of books copied; the rows are counted again at
    // the end of each table and every book is looked for in the target at
    // the end.
    int run(const std::function<void(const QString&)>& progress);

private:
    int copy(const QStringList& books, QStringList& made,
             const std::function<void(const QString&)>& progress);
    void undo(const QStringList& made);

    const DataFolder& folder_;
    std::shared_ptr<Store> from_;
    std::shared_ptr<Store> to_;
};

} // namespace parlix
