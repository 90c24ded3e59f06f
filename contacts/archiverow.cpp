#include "archiverow.h"

namespace parlix {

RowSelection rowSelection(ArchiveKind kind, const ArchiveRow& row)
{
    if (kind == ArchiveKind::Contacts)
        return {row.cells[0], row.cells[2], row.cells[3], {}, row.rowid};
    return {row.cells[0], row.cells[1], row.cells[3], row.cells[2], row.rowid};
}

} // namespace parlix
