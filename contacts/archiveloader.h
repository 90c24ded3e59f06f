#pragma once

#include "contacts/archiverow.h"
#include "store/archivekind.h"

#include <QString>

#include <vector>

namespace parlix {

struct ProgramState;

// Reads one archive of a book for the list. Throws StoreError when the book
// cannot be opened or lacks the table; nothing is created or written. The rows
// come in the order the list shows them (see sortForDisplay).
std::vector<ArchiveRow> readArchive(const ProgramState& state, ArchiveKind kind, const QString& book);

// The list shows an archive sorted by surname, ascending, without regard to
// case. Rows are read in stored order and each is put on top of the ones
// before, so rows with the same surname show the most recent first.
void sortForDisplay(std::vector<ArchiveRow>& rows, ArchiveKind kind);

} // namespace parlix
