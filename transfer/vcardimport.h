#pragma once

#include "transfer/progress.h"

#include <QString>
#include <QStringList>

class QIODevice;

namespace parlix {

struct ProgramState;

struct VcardImportResult
{
    enum class Status {
        Done,           // every card read (some may have been left out: see below)
        NoCards,        // the file holds no vCard: nothing imported
        FileUnreadable, // nothing imported (also when the vCard parser module is missing)
        BookMissing,    // nothing imported, nothing created
        StoreFailed,    // the book could not be written: nothing imported
    };

    Status status = Status::Done;
    int imported = 0;
    // Cards left out because they hold no number that can be dialled: how
    // many, and the names of the first few.
    int withoutNumber = 0;
    QStringList withoutNumberNames;
    // Cards left out because they were cut short or too large to be a contact.
    int unreadable = 0;
    QString detail; // the store's message, with StoreFailed; why, with FileUnreadable
};

// Appends the contacts of a vCard file (one or many cards, vCard 2.1, 3.0 or
// 4.0) to a book, with no test for duplicates, as the contact exchange files
// are. The file is read card by card, so its size does not matter; all rows
// are written in one transaction. `progress` hears how much of the file has
// been read, in KiB (the total is 0 when the source's size is not known).
class VcardImport
{
public:
    explicit VcardImport(ProgramState& state) : state_(state) {}

    VcardImportResult run(const QString& file, const QString& book, const Progress& progress = {});
    VcardImportResult run(QIODevice& source, const QString& book, const Progress& progress = {});

private:
    ProgramState& state_;
};

// What the user is told after an import that left cards out: how many
// contacts were imported and which cards were not. Empty when none was left out.
QString vcardImportReport(const VcardImportResult& result);

} // namespace parlix
