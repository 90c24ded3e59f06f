#pragma once

#include "contacts/archivepages.h"
#include "contacts/archiverow.h"
#include "store/archivekind.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

namespace parlix {

// Which rows are ticked: all of them or none, but for the exceptions, named
// by the rows' keys. A key names its row whatever is edited in it. "All"
// means the rows there were when it was chosen: those up to the newest key
// then; rows added afterwards come unticked.
class TickRule
{
public:
    bool has(long long key) const { return inRule(key) != except_.contains(key); }
    void set(long long key, bool ticked);
    void setAll(bool ticked, long long upTo = std::numeric_limits<long long>::max());
    bool all() const { return all_; }
    // Narrows "all" to the keys up to `newest`: a key given out again after
    // the newest rows were deleted names a new row.
    void limitTo(long long newest) { upTo_ = std::min(upTo_, newest); }
    // Forgets the exceptions whose rows are gone, so that a key the store
    // hands out again does not carry an old tick to a new row.
    void keepOnly(const std::unordered_set<long long>& present);
    // The keys that differ from the rule.
    const std::unordered_set<long long>& exceptions() const { return except_; }

private:
    bool inRule(long long key) const { return all_ && key <= upTo_; }

    bool all_ = false;
    long long upTo_ = std::numeric_limits<long long>::max();
    std::unordered_set<long long> except_;
};

// The rows of the archive list with their check boxes. Column 0 carries the
// check box and the kind's picture, columns 1 to 4 the row's texts. Cleared,
// it has neither rows nor columns. The rows are read from the store as the
// view asks for them (see ArchivePages), in the order the store sorts them.
class ArchiveModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ArchiveModel(QObject* parent = nullptr);
    ~ArchiveModel() override;

    // Shows the rows of `pages`; reads their count (StoreError when that
    // fails, the model left as it was). Ticks stay when `keepTicks`.
    void show(std::unique_ptr<ArchivePages> pages, bool keepTicks);
    // Shows the columns of a kind with no rows: the archive could not be read,
    // for this reason.
    void setFailed(ArchiveKind kind, const QString& reason);
    void clear();

    std::optional<ArchiveKind> kind() const { return kind_; }
    // Why the archive shows no rows; empty when it was read.
    const QString& failure() const { return failure_; }
    std::optional<ArchiveOrder> order() const;
    // The row shown at `index`; an empty one when it cannot be read.
    ArchiveRow row(int index) const;
    bool isTicked(int index) const;
    void setTicked(int index, bool ticked);
    void setAllTicked(bool ticked);
    const TickRule& ticks() const { return ticks_; }
    // Where the row of this key is shown; -1 when it is not.
    int find(long long key) const;
    // The indices of the ticked rows, in display order (reads every row:
    // for short lists).
    std::vector<int> tickedIndices() const;
    // Each ticked row in display order, read from the store a page at a time,
    // until `each` says false. Throws StoreError.
    void forEachTicked(const std::function<bool(const ArchiveRow&)>& each) const;

    // The view asks for the index and flags of every row when it lays out the
    // list: both are answered without further calls.
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Orders the rows by the text of a column (1 to 4) as the store sorts
    // (see listorder.h); ticks stay with their rows. Column 0 has no text and
    // leaves the order alone.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    // Rows could not be read while the view showed them (said once until the
    // model is shown again).
    void readFailed(const QString& message);

private:
    const ArchiveRow& rowAt(int index) const;

    std::optional<ArchiveKind> kind_;
    std::unique_ptr<ArchivePages> pages_;
    int count_ = 0;
    QString failure_;
    mutable bool readFailing_ = false;
    TickRule ticks_;
    QIcon picture_;
};

} // namespace parlix
