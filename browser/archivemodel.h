#pragma once

#include "contacts/archiverow.h"
#include "store/archivekind.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <optional>
#include <vector>

namespace parlix {

// The rows of the archive list with their check boxes. Column 0 carries the
// check box and the kind's picture, columns 1 to 4 the row's texts. Cleared,
// it has neither rows nor columns. Rows keep the order they are given in.
class ArchiveModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ArchiveModel(QObject* parent = nullptr);

    void setRows(ArchiveKind kind, std::vector<ArchiveRow> rows);
    // Shows the columns of a kind with no rows (an archive that could not be read).
    void setEmpty(ArchiveKind kind);
    void clear();

    std::optional<ArchiveKind> kind() const { return kind_; }
    const ArchiveRow& row(int index) const { return rows_[size_t(index)]; }
    bool isTicked(int index) const { return ticked_[size_t(index)] != 0; }
    void setTicked(int index, bool ticked);
    void setAllTicked(bool ticked);
    // Ticks the shown row of each of these rows (same stored row, same texts), where there is one.
    void tickMatching(std::vector<ArchiveRow> rows);
    // The shown row of this stored row with these texts; -1 when there is none.
    int find(const ArchiveRow& row) const;
    // The indices of the ticked rows, in display order.
    std::vector<int> tickedIndices() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Orders the rows by the text of a column (1 to 4), without regard to
    // case; equal texts keep their order, ticks and selection stay with their
    // rows. Dates ("dd/MM/yyyy HH:mm:ss") go by time, not by text. Column 0
    // has no text and leaves the order alone.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    std::optional<ArchiveKind> kind_;
    std::vector<ArchiveRow> rows_;
    std::vector<char> ticked_;
    QIcon picture_;
};

} // namespace parlix
