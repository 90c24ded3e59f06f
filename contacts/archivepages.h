#pragma once

#include "contacts/archiverow.h"
#include "store/archivekind.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace parlix {

class Database;

// The order of the list: by one of the row's four texts (0 to 3), ascending
// or descending. Rows with equal texts go newest first when ascending, and
// the other way round when descending.
struct ArchiveOrder
{
    int cell = 0;
    bool descending = false;

    bool operator==(const ArchiveOrder&) const = default;
};

// The rows of one archive of a book in the list's order, read from the store
// a page at a time as they are asked for, only the last pages read kept. The
// count is read once; forget() makes the next reads ask the store again.
// Store failures throw StoreError.
class ArchivePages
{
public:
    static constexpr int pageRows = 256;

    // Adds the indexes the orders need where the book lacks them.
    ArchivePages(std::shared_ptr<Database> db, ArchiveKind kind, ArchiveOrder order);
    ~ArchivePages();
    ArchivePages(const ArchivePages&) = delete;
    ArchivePages& operator=(const ArchivePages&) = delete;

    ArchiveKind kind() const { return kind_; }
    const ArchiveOrder& order() const { return order_; }
    void setOrder(ArchiveOrder order);
    int count();
    // The row at `position` (0 to count() - 1).
    const ArchiveRow& row(int position);
    // Where the row of this key is now; -1 when it is no longer stored.
    int position(long long key);
    void forget();

    // Every row in order, a page at a time, from the store itself (not from
    // the pages kept), until `each` says false. Rows may be changed or
    // deleted between pages.
    void walk(const std::function<bool(const ArchiveRow&)>& each);
    // The key of the newest row (0 when there is none): rows added later have
    // greater keys.
    long long newestKey();
    // The rows of these keys that are stored, in order.
    std::vector<ArchiveRow> rowsWithKeys(const std::vector<long long>& keys);

private:
    struct Page
    {
        std::vector<ArchiveRow> rows;
        QString firstValue; // the sorted text of the first row and of the last
        QString lastValue;
        unsigned long long used = 0;
    };
    // Where a page read after a known row starts.
    struct Boundary
    {
        QString value;
        long long key = 0;
    };

    // One page in the order (the opposite one when reversed): after `from`
    // when given, else `offset` rows in.
    Page read(const Boundary* from, bool reversed, int offset);
    Page fetch(int page);
    QString columns() const;
    QString orderBy(bool reversed) const;
    // Rows after a Boundary in the order (before it when reversed).
    QString afterCondition(bool reversed) const;

    std::shared_ptr<Database> db_;
    ArchiveKind kind_;
    ArchiveOrder order_;
    QString table_;
    QString key_;
    QString expression_;
    int count_ = -1;
    std::map<int, Page> pages_;
    unsigned long long uses_ = 0;
};

} // namespace parlix
