#include "importcsvcommand.h"

#include "cli/filearguments.h"
#include "core/programstate.h"
#include "transfer/csvimport.h"

namespace parlix::cli {

int ImportCsvCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const auto parsed = parseFileArguments(arguments);
    if (!parsed) {
        console.err << "Uso: parlix-cli import-csv " << synopsis() << '\n';
        return Usage;
    }
    ProgramState state(folder);
    const CsvImportResult result = CsvImport(state).run(parsed->file, parsed->book);
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
        console.err << "Impossibile leggere il file " << parsed->file << '\n';
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
