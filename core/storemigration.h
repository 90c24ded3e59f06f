#pragma once

#include <QString>

#include <functional>

namespace parlix {

class DataFolder;
class Store;

// Copies every book of one store into another: the book list in its order,
// and every row of every table of every book (with the send journal and the
// batches kept for later, where a book has them). The target must be empty: no
// book but "Principale", and that one without rows. Each book goes in one
// transaction with its row of the list (on a shared database), and the rows
// are counted again at the end of each table. Nothing is deleted at the
// source. Both stores are reached through the paths of `folder`.
class StoreMigration
{
public:
    StoreMigration(const DataFolder& folder, Store& from, Store& to) : folder_(folder), from_(from), to_(to)
    {}

    // Reports one line per book copied. Throws StoreError; the books copied
    // before the failure stay. Returns the number of books copied.
    int run(const std::function<void(const QString&)>& progress);

private:
    const DataFolder& folder_;
    Store& from_;
    Store& to_;
};

} // namespace parlix
