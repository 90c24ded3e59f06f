#pragma once

#include "transfer/csvformat.h"
#include "transfer/progress.h"

#include <QString>

class QIODevice;

#include <optional>

namespace parlix {

struct ProgramState;

struct CsvImportResult
{
    enum class Status {
        Done,           // every line imported
        Stopped,        // a line ended the import; the rows before it are stored
        FileUnreadable, // nothing imported
        BookMissing,    // nothing imported, nothing created
        StoreFailed,    // the book could not be written: nothing imported
    };

    Status status = Status::Done;
    int imported = 0;
    std::optional<csv::StopLine> stop; // with Stopped
    QString detail;                    // the store's message, with StoreFailed; why, with FileUnreadable
};

// Appends every contact line of a file to a book (see csvformat.h), with no
// test for duplicates. An empty or too short line ends the import: the rows
// before it are kept. All rows are written in one transaction. The file is
// read a block at a time, never whole, so any size takes the same memory; a
// line longer than csv::maxLineBytes before the contacts end refuses the file
// (FileUnreadable, saying which line).
class CsvImport
{
public:
    explicit CsvImport(ProgramState& state) : state_(state) {}

    // `file` must be a regular file (a link to one will do): a FIFO, a device
    // or a folder is refused, never waited on.
    CsvImportResult run(const QString& file, const QString& book, const Progress& progress = {});
    // The lines read from `source` (standard input, say) to its end. A source
    // that cannot be read twice is copied to a temporary file first.
    CsvImportResult run(QIODevice& source, const QString& book, const Progress& progress = {});

private:
    ProgramState& state_;
};

// What the user is told when every line was imported into `book`.
QString completedImportMessage(const CsvImportResult& result, const QString& book);
// What the user is told when a line ended the import: how many contacts were
// imported, the number and text of that line, the lines left unread and how
// to go on without repeating the contacts already imported.
QString stoppedImportMessage(const CsvImportResult& result);

} // namespace parlix
