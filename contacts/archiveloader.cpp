#include "archiveloader.h"

#include "contacts/archivecolumns.h"
#include "contacts/bookfile.h"
#include "contacts/readingorder.h"
#include "core/programstate.h"
#include "store/recordset.h"
#include "store/store.h"

#include <algorithm>

namespace parlix {

namespace {

std::vector<ArchiveRow> readRows(Recordset& rs, ArchiveKind kind)
{
    const std::array<QString, 4> fields = archiveFields(kind);
    std::array<int, 4> columns{};
    for (size_t i = 0; i < fields.size(); ++i)
        columns[i] = rs.fieldIndex(fields[i]);

    std::vector<ArchiveRow> rows;
    for (; !rs.eof(); rs.moveNext()) {
        ArchiveRow& row = rows.emplace_back();
        row.rowid = rs.rowid();
        for (size_t i = 0; i < columns.size(); ++i) {
            if (columns[i] >= 0)
                row.cells[i] = rs.field(columns[i]);
        }
    }
    sortForDisplay(rows, kind);
    return rows;
}

} // namespace

std::vector<ArchiveRow> readArchive(const ProgramState& state, ArchiveKind kind, const QString& book)
{
    Recordset rs(state.store->open(bookFile(state.folder, book)), queries::wholeTable(archiveTable(kind)),
                 Recordset::Reading::ForwardOnly);
    return readRows(rs, kind);
}

void sortForDisplay(std::vector<ArchiveRow>& rows, ArchiveKind kind)
{
    std::reverse(rows.begin(), rows.end());
    const size_t cell = size_t(sortCell(kind));
    const std::vector<size_t> order =
        ReadingOrder().order(rows.size(), [&rows, cell](size_t i) { return rows[i].cells[cell]; });
    std::vector<ArchiveRow> sorted;
    sorted.reserve(rows.size());
    for (const size_t i : order)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

} // namespace parlix
