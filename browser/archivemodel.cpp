#include "archivemodel.h"

#include "browser/rowicon.h"
#include "contacts/archivecolumns.h"
#include "store/storeerror.h"

#include <QTimer>

namespace parlix {

namespace {

// Ticks checked against the store on each reload (one query by key).
constexpr size_t maxCheckedTicks = 500;

} // namespace

void TickRule::set(long long key, bool ticked)
{
    if (ticked == inRule(key))
        except_.erase(key);
    else
        except_.insert(key);
}

void TickRule::setAll(bool ticked, long long upTo)
{
    all_ = ticked;
    upTo_ = upTo;
    except_.clear();
}

void TickRule::keepOnly(const std::unordered_set<long long>& present)
{
    std::erase_if(except_, [&](long long key) { return !present.contains(key); });
}

ArchiveModel::ArchiveModel(QObject* parent) : QAbstractTableModel(parent) {}

ArchiveModel::~ArchiveModel() = default;

void ArchiveModel::show(std::unique_ptr<ArchivePages> pages, bool keepTicks)
{
    const int count = pages->count();
    // Ticks of rows deleted since are dropped: SQLite may give a deleted
    // newest row's key to the next row added. A long list of exceptions is
    // left as it is rather than walk the whole book on every reload.
    const long long newest = keepTicks && ticks_.all() ? pages->newestKey() : 0;
    std::optional<std::unordered_set<long long>> present;
    if (keepTicks && !ticks_.exceptions().empty() && ticks_.exceptions().size() <= maxCheckedTicks) {
        const std::vector<long long> keys(ticks_.exceptions().begin(), ticks_.exceptions().end());
        present.emplace();
        for (const ArchiveRow& row : pages->rowsWithKeys(keys))
            present->insert(row.rowid);
    }
    beginResetModel();
    kind_ = pages->kind();
    pages_ = std::move(pages);
    count_ = count;
    failure_.clear();
    readFailing_ = false;
    if (!keepTicks) {
        ticks_ = TickRule();
    } else {
        if (ticks_.all())
            ticks_.limitTo(newest);
        if (present)
            ticks_.keepOnly(*present);
    }
    picture_ = rowIcon(*kind_);
    endResetModel();
}

void ArchiveModel::setFailed(ArchiveKind kind, const QString& reason)
{
    beginResetModel();
    kind_ = kind;
    pages_.reset();
    count_ = 0;
    failure_ = reason;
    picture_ = rowIcon(kind);
    endResetModel();
}

void ArchiveModel::clear()
{
    beginResetModel();
    kind_.reset();
    pages_.reset();
    count_ = 0;
    failure_.clear();
    ticks_ = TickRule();
    picture_ = QIcon();
    endResetModel();
}

std::optional<ArchiveOrder> ArchiveModel::order() const
{
    return pages_ ? std::optional<ArchiveOrder>(pages_->order()) : std::nullopt;
}

const ArchiveRow& ArchiveModel::rowAt(int index) const
{
    static const ArchiveRow none;
    if (!pages_ || index < 0 || index >= count_ || readFailing_)
        return none;
    try {
        return pages_->row(index);
    } catch (const StoreError& error) {
        // Painting goes on with empty rows; the list is told once, after the
        // paint, and decides what to show.
        readFailing_ = true;
        auto* self = const_cast<ArchiveModel*>(this);
        QTimer::singleShot(0, self, [self, message = error.message()] { emit self->readFailed(message); });
        return none;
    }
}

ArchiveRow ArchiveModel::row(int index) const
{
    return rowAt(index);
}

bool ArchiveModel::isTicked(int index) const
{
    const ArchiveRow& shown = rowAt(index);
    return shown.rowid != 0 && ticks_.has(shown.rowid);
}

void ArchiveModel::setTicked(int index, bool ticked)
{
    const long long key = rowAt(index).rowid;
    if (key == 0 || ticks_.has(key) == ticked)
        return;
    ticks_.set(key, ticked);
    const QModelIndex cell = createIndex(index, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void ArchiveModel::setAllTicked(bool ticked)
{
    long long upTo = std::numeric_limits<long long>::max();
    if (ticked && pages_) {
        try {
            upTo = pages_->newestKey();
        } catch (const StoreError&) {
            // Unknown for now: the next reading of the list narrows it.
        }
    }
    ticks_.setAll(ticked, upTo);
    if (count_ > 0)
        emit dataChanged(createIndex(0, 0), createIndex(count_ - 1, 0), {Qt::CheckStateRole});
}

int ArchiveModel::find(long long key) const
{
    if (!pages_ || key == 0)
        return -1;
    try {
        const int at = pages_->position(key);
        return at < count_ ? at : -1;
    } catch (const StoreError&) {
        return -1;
    }
}

std::vector<int> ArchiveModel::tickedIndices() const
{
    std::vector<int> indices;
    for (int i = 0; i < count_; ++i) {
        if (isTicked(i))
            indices.push_back(i);
    }
    return indices;
}

void ArchiveModel::forEachTicked(const std::function<bool(const ArchiveRow&)>& each) const
{
    if (!pages_)
        return;
    // A few rows ticked one by one are read by their keys; a rule over every
    // row walks them all, a page at a time.
    if (!ticks_.all()) {
        const std::vector<long long> keys(ticks_.exceptions().begin(), ticks_.exceptions().end());
        for (const ArchiveRow& row : pages_->rowsWithKeys(keys)) {
            if (!each(row))
                return;
        }
        return;
    }
    pages_->walk([&](const ArchiveRow& row) { return !ticks_.has(row.rowid) || each(row); });
}

QModelIndex ArchiveModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || !kind_ || row < 0 || row >= count_ || column < 0 || column >= 5)
        return {};
    return createIndex(row, column);
}

int ArchiveModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

int ArchiveModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !kind_ ? 0 : 5;
}

QVariant ArchiveModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (index.column() == 0) {
        if (role == Qt::CheckStateRole)
            return isTicked(index.row()) ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::DecorationRole)
            return picture_;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return rowAt(index.row()).cells[size_t(index.column() - 1)];
    return {};
}

bool ArchiveModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole)
        return false;
    setTicked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

QVariant ArchiveModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !kind_ || section < 0 || section > 4)
        return {};
    return archiveColumns(*kind_)[size_t(section)].caption;
}

Qt::ItemFlags ArchiveModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return index.column() == 0 ? flags | Qt::ItemIsUserCheckable : flags;
}

void ArchiveModel::sort(int column, Qt::SortOrder order)
{
    if (column < 1 || column > 4 || !pages_)
        return;
    const ArchiveOrder wanted{column - 1, order == Qt::DescendingOrder};
    if (pages_->order() == wanted)
        return;
    beginResetModel();
    pages_->setOrder(wanted);
    readFailing_ = false;
    endResetModel();
}

} // namespace parlix
