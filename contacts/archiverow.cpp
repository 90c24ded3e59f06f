#include "archiverow.h"

#include "core/programstate.h"

namespace parlix {

RowSelection rowSelection(ArchiveKind kind, const ArchiveRow& row)
{
    if (kind == ArchiveKind::Contacts)
        return {row.cells[0], row.cells[2], row.cells[3], {}, row.rowid};
    return {row.cells[0], row.cells[1], row.cells[3], row.cells[2], row.rowid};
}

void applySelection(ProgramState& state, ArchiveKind kind, const ArchiveRow& row)
{
    const RowSelection selection = rowSelection(kind, row);
    state.cellularesel = selection.cellulare;
    state.testosel = selection.testo;
    state.cognomesel = selection.cognome;
    if (kind != ArchiveKind::Contacts)
        state.datasel = selection.data;
}

} // namespace parlix
