#include "importcsvcommand.h"

#include "cli/filearguments.h"
#include "cli/report.h"
#include "core/programstate.h"
#include "transfer/csvimport.h"

namespace parlix::cli {

CommandGrammar ImportCsvCommand::grammar() const
{
    return fileGrammar(
        {{QStringLiteral("book"), QStringLiteral("la rubrica")},
         {QStringLiteral("imported"), QStringLiteral("i contatti importati")},
         {QStringLiteral("complete"), QStringLiteral("false quando una riga ha fermato l'importazione")}});
}

bool ImportCsvCommand::accepts(const QStringList& arguments, QTextStream&) const
{
    return parseFileArguments(arguments).has_value();
}

int ImportCsvCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const auto parsed = parseFileArguments(arguments);
    if (!parsed) {
        console.err << "Uso: parlix-cli import-csv " << synopsis() << '\n';
        return Usage;
    }
    ProgramState state(folder);
    const CsvImportResult result = CsvImport(state).run(
        parsed->file, parsed->book, transferProgress(console, QStringLiteral("Contatti scritti")));
    using Status = CsvImportResult::Status;
    switch (result.status) {
    case Status::Done:
    case Status::Stopped:
        report(console,
               {{QStringLiteral("book"), parsed->book},
                {QStringLiteral("imported"), result.imported},
                {QStringLiteral("complete"), result.status == Status::Done}},
               QString::number(result.imported) + u'\n');
        if (result.status == Status::Done)
            return Done;
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
