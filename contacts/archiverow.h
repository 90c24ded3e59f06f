#pragma once

#include "store/archivekind.h"

#include <QString>

#include <array>

namespace parlix {

struct ProgramState;

// One row of the archive list: its four texts in column order (the first
// column only carries the check box and the picture). Contacts: number, first
// name, surname, e-mail. Messages: number, surname, date text, message text.
struct ArchiveRow
{
    std::array<QString, 4> cells;
    long long rowid = 0; // the stored row it shows; 0 when not known

    bool operator==(const ArchiveRow&) const = default;
};

// What a click on a row makes known to the rest of the program.
struct RowSelection
{
    QString cellulare;
    QString cognome;
    QString testo;       // e-mail for contacts, the message text for messages
    QString data;        // date text; empty for contacts
    long long rowid = 0; // the stored row; 0: found by number (and date) instead

    bool operator==(const RowSelection&) const = default;
};

RowSelection rowSelection(ArchiveKind kind, const ArchiveRow& row);

// Puts a row's values into the program's selected-row variables. A contact
// leaves `datasel` as it was: contacts have no date.
void applySelection(ProgramState& state, ArchiveKind kind, const ArchiveRow& row);

} // namespace parlix
