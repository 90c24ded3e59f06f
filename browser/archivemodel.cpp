#include "archivemodel.h"

#include "browser/rowicon.h"
#include "contacts/archivecolumns.h"
#include "contacts/readingorder.h"

#include <QCollatorSortKey>
#include <QDateTime>

#include <algorithm>
#include <map>
#include <numeric>

namespace parlix {

ArchiveModel::ArchiveModel(QObject* parent) : QAbstractTableModel(parent) {}

void ArchiveModel::setRows(ArchiveKind kind, std::vector<ArchiveRow> rows)
{
    beginResetModel();
    kind_ = kind;
    rows_ = std::move(rows);
    ticked_.assign(rows_.size(), 0);
    picture_ = rowIcon(kind);
    endResetModel();
}

void ArchiveModel::setEmpty(ArchiveKind kind)
{
    setRows(kind, {});
}

void ArchiveModel::clear()
{
    beginResetModel();
    kind_.reset();
    rows_.clear();
    ticked_.clear();
    picture_ = QIcon();
    endResetModel();
}

void ArchiveModel::setTicked(int index, bool ticked)
{
    if (index < 0 || index >= rowCount() || isTicked(index) == ticked)
        return;
    ticked_[size_t(index)] = ticked ? 1 : 0;
    const QModelIndex cell = createIndex(index, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void ArchiveModel::setAllTicked(bool ticked)
{
    if (rows_.empty())
        return;
    std::fill(ticked_.begin(), ticked_.end(), ticked ? 1 : 0);
    emit dataChanged(createIndex(0, 0), createIndex(rowCount() - 1, 0), {Qt::CheckStateRole});
}

void ArchiveModel::tickMatching(std::vector<ArchiveRow> rows)
{
    std::map<std::pair<long long, std::array<QString, 4>>, int> wanted;
    for (ArchiveRow& row : rows)
        ++wanted[{row.rowid, std::move(row.cells)}];
    for (size_t i = 0; i < rows_.size(); ++i) {
        const auto match = wanted.find({rows_[i].rowid, rows_[i].cells});
        if (match != wanted.end() && match->second > 0) {
            ticked_[i] = 1;
            --match->second;
        }
    }
    if (!rows_.empty())
        emit dataChanged(createIndex(0, 0), createIndex(rowCount() - 1, 0), {Qt::CheckStateRole});
}

int ArchiveModel::find(const ArchiveRow& row) const
{
    const auto found = std::find(rows_.begin(), rows_.end(), row);
    return found == rows_.end() ? -1 : int(found - rows_.begin());
}

std::vector<int> ArchiveModel::tickedIndices() const
{
    std::vector<int> indices;
    for (size_t i = 0; i < ticked_.size(); ++i) {
        if (ticked_[i])
            indices.push_back(int(i));
    }
    return indices;
}

int ArchiveModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int ArchiveModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !kind_ ? 0 : 5;
}

QVariant ArchiveModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const size_t row = size_t(index.row());
    if (index.column() == 0) {
        if (role == Qt::CheckStateRole)
            return ticked_[row] ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::DecorationRole)
            return picture_;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return rows_[row].cells[size_t(index.column() - 1)];
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
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

namespace {

// A date text as the program writes it; an invalid time for any other text.
QDateTime dateOf(const QString& text)
{
    return QDateTime::fromString(text, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

} // namespace

void ArchiveModel::sort(int column, Qt::SortOrder order)
{
    if (column < 1 || column > 4 || rows_.size() < 2)
        return;
    const size_t cell = size_t(column - 1);
    std::vector<size_t> from(rows_.size());
    std::iota(from.begin(), from.end(), size_t{0});
    // Dates by their time, everything else as people read it.
    const ReadingOrder reading;
    std::vector<QDateTime> dates;
    std::vector<QCollatorSortKey> keys;
    dates.reserve(rows_.size());
    keys.reserve(rows_.size());
    for (const ArchiveRow& row : rows_) {
        dates.push_back(dateOf(row.cells[cell]));
        keys.push_back(reading.key(row.cells[cell]));
    }
    const auto before = [&dates, &keys](size_t a, size_t b) {
        if (dates[a].isValid() && dates[b].isValid())
            return dates[a] < dates[b];
        return keys[a].compare(keys[b]) < 0;
    };
    if (order == Qt::AscendingOrder)
        std::stable_sort(from.begin(), from.end(), before);
    else
        std::stable_sort(from.begin(), from.end(), [&before](size_t a, size_t b) { return before(b, a); });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<ArchiveRow> rows;
    std::vector<char> ticked;
    rows.reserve(rows_.size());
    ticked.reserve(rows_.size());
    std::vector<int> to(rows_.size());
    for (size_t i = 0; i < from.size(); ++i) {
        rows.push_back(std::move(rows_[from[i]]));
        ticked.push_back(ticked_[from[i]]);
        to[from[i]] = int(i);
    }
    rows_ = std::move(rows);
    ticked_ = std::move(ticked);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& index : persistent)
        moved << createIndex(to[size_t(index.row())], index.column());
    changePersistentIndexList(persistent, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace parlix
