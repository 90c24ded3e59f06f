#pragma once

#include "browser/archiverow.h"
#include "store/archivekind.h"

#include <QString>

namespace parlix {

struct ProgramState;

// Deletes rows of one archive of a book, each found the way the list shows
// it: a contact by its number, a message by its number and date text. Only
// the first matching row goes; a row that is no longer there deletes nothing.
// Works through the program's shared handles. Failures throw StoreError.
class ArchiveDeletion
{
public:
    ArchiveDeletion(ProgramState& state, ArchiveKind kind, QString book);

    // The Delete key: removes the row, keeps no copy. True when a row went.
    bool deleteRow(const RowSelection& row);

    // A ticked row: removes it like deleteRow; a sent message is first copied
    // into the book's deleted messages with the same four values (also when
    // the row itself is no longer stored). The copy and the removal are one
    // transaction, so a failure never loses the message.
    bool deleteTickedRow(const RowSelection& row);

private:
    bool removeFirstMatch(const RowSelection& row);

    ProgramState& state_;
    ArchiveKind kind_;
    QString book_;
};

} // namespace parlix
