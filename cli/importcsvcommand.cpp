#include "importcsvcommand.h"

#include "cli/filearguments.h"
#include "cli/standardstreams.h"
#include "core/programstate.h"
#include "core/userfile.h"
#include "transfer/csvimport.h"

#include <QBuffer>

namespace parlix::cli {

int ImportCsvCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const auto parsed = parseFileArguments(arguments);
    if (!parsed) {
        console.err << "Uso: parlix-cli import-csv " << synopsis() << '\n';
        return Usage;
    }
    ProgramState state(folder);
    CsvImport import(state);
    QBuffer text;
    const CsvImportResult result = isStandardStream(parsed->file)
                                       ? import.run(inputBytes(console, text), parsed->book)
                                       : import.run(parsed->file, parsed->book);
    using Status = CsvImportResult::Status;
    switch (result.status) {
    case Status::Done:
        console.out << result.imported << '\n';
        return Done;
    case Status::Stopped:
        console.out << result.imported << '\n';
        console.err << stoppedImportMessage(result).replace(u'\r', u'\n') << '\n';
        return Stopped;
    case Status::FileUnreadable:
        console.err << userfile::unreadableMessage(parsed->file, result.detail) << '\n';
        return Failed;
    case Status::BookMissing:
        console.err << "La rubrica \"" << parsed->book << "\" non esiste\n";
        return Failed;
    case Status::StoreFailed:
        console.err << "Importazione non riuscita, nessun contatto importato: " << result.detail << '\n';
        return Failed;
    }
    return Failed;
}

} // namespace parlix::cli
