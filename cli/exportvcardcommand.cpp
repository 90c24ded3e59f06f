#include "exportvcardcommand.h"

#include "cli/filearguments.h"
#include "cli/standardstreams.h"
#include "core/programstate.h"
#include "core/userfile.h"
#include "transfer/vcardexport.h"

namespace parlix::cli {

int ExportVcardCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const auto parsed = parseFileArguments(arguments);
    if (!parsed) {
        console.err << "Uso: parlix-cli export-vcard " << synopsis() << '\n';
        return Usage;
    }
    ProgramState state(folder);
    const auto writeBook = [&](const VcardSink& sink) { return writeVcardBook(state, parsed->book, sink); };
    const bool toOutput = isStandardStream(parsed->file);
    const VcardExportResult result =
        toOutput ? writeBook(outputBytes(console)) : writeVcardFile(parsed->file, writeBook);
    using Status = VcardExportResult::Status;
    switch (result.status) {
    case Status::Done:
        if (toOutput)
            console.err << "Contatti esportati: " << result.exported << '\n';
        else
            console.out << result.exported << '\n';
        return Done;
    case Status::BookMissing:
        console.err << "La rubrica \"" << parsed->book << "\" non esiste\n";
        return Failed;
    case Status::StoreFailed:
        console.err << "Impossibile leggere la rubrica \"" << parsed->book << "\": " << result.detail << '\n';
        return Failed;
    case Status::WriteFailed:
        console.err << userfile::unwritableMessage(parsed->file, result.detail) << '\n';
        return Failed;
    }
    return Failed;
}

} // namespace parlix::cli
