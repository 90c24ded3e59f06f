#pragma once

#include "store/archivekind.h"

#include <QString>

#include <array>

namespace parlix {

// One row of the archive list: its four texts in column order (the first
// column only carries the check box and the picture). Contacts: number, first
// name, surname, e-mail. Messages: number, surname, date text, message text.
struct ArchiveRow
{
    std::array<QString, 4> cells;
    long long rowid = 0; // the stored row it shows; 0 when not known

    bool operator==(const ArchiveRow&) const = default;
};

// The values of a selected or ticked row, handed to the form that acts on it.
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

} // namespace parlix
