#include "archivemodel.h"

#include "browser/archivecolumns.h"
#include "browser/rowicon.h"

#include <map>

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
    emit tickChanged(index);
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

} // namespace parlix
