#pragma once

#include "store/archivekind.h"

#include <QString>

#include <array>

namespace parlix {

struct ArchiveColumn
{
    QString caption;
    int widthTwips = 0;
};

// The five columns of the list for a kind of archive: an untitled first
// column for the check box and picture, then the row's four texts.
std::array<ArchiveColumn, 5> archiveColumns(ArchiveKind kind);

// Which of the row's four texts the list is sorted by: the surname, that is
// the third text for contacts and the second for messages (0-based: 2 and 1).
int sortCell(ArchiveKind kind);

// The table fields read into the four texts, in order.
std::array<QString, 4> archiveFields(ArchiveKind kind);

} // namespace parlix
