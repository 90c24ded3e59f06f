#include "exportvcardcommand.h"

#include "cli/filearguments.h"
#include "cli/report.h"
#include "cli/standardstreams.h"
#include "core/programstate.h"
#include "transfer/vcardexport.h"

namespace parlix::cli {

CommandGrammar ExportVcardCommand::grammar() const
{
    return fileGrammar({{QStringLiteral("book"), QStringLiteral("la rubrica")},
                        {QStringLiteral("exported"), QStringLiteral("i contatti esportati")}});
}

bool ExportVcardCommand::accepts(const QStringList& arguments, QTextStream&) const
{
    return parseFileArguments(arguments).has_value();
}

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
        if (toOutput && !console.json)
            console.err << "Contatti esportati: " << result.exported << '\n';
        // With the cards on standard output, the JSON object goes to standard error.
        console.reportOnErr = toOutput;
        report(console,
               {{QStringLiteral("book"), parsed->book}, {QStringLiteral("exported"), result.exported}},
               toOutput ? QString() : QString::number(result.exported) + u'\n');
        return Done;
    case Status::BookMissing:
        console.err << "La rubrica \"" << parsed->book << "\" non esiste\n";
        return Failed;
    case Status::StoreFailed:
        console.err << "Impossibile leggere la rubrica \"" << parsed->book << "\": " << result.detail << '\n';
        return Failed;
    case Status::WriteFailed:
        console.err << "Impossibile scrivere il file " << parsed->file << '\n';
        return Failed;
    }
    return Failed;
}

} // namespace parlix::cli
