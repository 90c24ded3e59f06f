#pragma once

#include "contacts/archiverow.h"
#include "store/archivekind.h"

#include <QString>

#include <memory>
#include <vector>

namespace parlix {

class Database;
class Recordset;
struct ProgramState;

// Deletes rows of one archive of a book. A row is the stored row the list
// showed (its rowid), provided it still holds the number (and, for messages,
// the date) shown; several contacts may share a number, and several messages
// a number and date, so those alone cannot say which row the user meant. A
// row given without a rowid is found the old way, the first row with that
// number (and date). A row that is no longer there deletes nothing. Each call
// opens the book for itself. Failures throw StoreError.
class ArchiveDeletion
{
public:
    ArchiveDeletion(const ProgramState& state, ArchiveKind kind, QString book);

    // The Delete key: removes the row, keeps no copy. True when a row went.
    bool deleteRow(const RowSelection& row);

    // A ticked row: removes it like deleteRow; a sent message is first copied
    // into the book's deleted messages: the stored row that goes, or the four
    // values shown when the row itself is no longer stored. The copy and the
    // removal are one transaction, so a failure never loses the message.
    bool deleteTickedRow(const RowSelection& row);
    // Many ticked rows, each as deleteTickedRow, all in one transaction on
    // one opening of the book. Returns how many rows went.
    int deleteTickedRows(const std::vector<RowSelection>& rows);

private:
    // deleteTickedRow within the caller's transaction.
    bool removeTicked(const std::shared_ptr<Database>& db, const RowSelection& row);
    // A cursor on the row; nothing when it is not stored.
    std::unique_ptr<Recordset> locate(const std::shared_ptr<Database>& db, const RowSelection& row);
    std::shared_ptr<Database> openBook() const;

    const ProgramState& state_;
    ArchiveKind kind_;
    QString book_;
};

} // namespace parlix
