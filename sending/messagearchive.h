#pragma once

#include "core/archivetree.h"

#include <QString>

namespace parlix {

struct ProgramState;
class Clock;

// One row of salvati or inviati as the composer fills it.
struct MessageRecord
{
    QString cognome;   // " " when there is none, "<lista>" for a list of numbers
    QString cellulare; // the number as typed, or the numbers joined by ";"
    QString testo;     // the whole text, unsplit
};

// The book that receives a batch's record in inviati: the selected address
// book, or "Principale" when the tree shows anything else.
QString sentRecordBook(const ArchiveNode& node);

// The book that receives a saved message: the book of the selected node, of
// whatever archive; "Principale" for the group nodes, which name no book.
QString savedRecordBook(const ArchiveNode& node);

// Appends `record` to `table` of `book`, dated now. Throws
// StoreError when the book cannot be opened or written.
void appendMessage(ProgramState& state, const Clock& clock, const QString& book, const QString& table,
                   const MessageRecord& record);

} // namespace parlix
