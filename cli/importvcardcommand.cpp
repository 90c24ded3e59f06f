#include "importvcardcommand.h"

#include "cli/filearguments.h"
#include "cli/report.h"
#include "cli/standardstreams.h"
#include "core/programstate.h"
#include "transfer/vcardimport.h"

#include <QBuffer>

namespace parlix::cli {

CommandGrammar ImportVcardCommand::grammar() const
{
    return fileGrammar({{QStringLiteral("book"), QStringLiteral("la rubrica")},
                        {QStringLiteral("imported"), QStringLiteral("i contatti importati")},
                        {QStringLiteral("left_out"),
                         QStringLiteral("le schede lasciate fuori (senza numero, o troncate)")}});
}

bool ImportVcardCommand::accepts(const QStringList& arguments, QTextStream&) const
{
    return parseFileArguments(arguments).has_value();
}

int ImportVcardCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const auto parsed = parseFileArguments(arguments);
    if (!parsed) {
        console.err << "Uso: parlix-cli import-vcard " << synopsis() << '\n';
        return Usage;
    }
    ProgramState state(folder);
    VcardImport import(state);
    QBuffer text;
    const Progress progress = transferProgress(console, QStringLiteral("KiB letti"));
    const VcardImportResult result = isStandardStream(parsed->file)
                                         ? import.run(inputBytes(console, text), parsed->book, progress)
                                         : import.run(parsed->file, parsed->book, progress);
    using Status = VcardImportResult::Status;
    switch (result.status) {
    case Status::Done:
        report(console,
               {{QStringLiteral("book"), parsed->book},
                {QStringLiteral("imported"), result.imported},
                {QStringLiteral("left_out"), result.withoutNumber + result.unreadable}},
               QString::number(result.imported) + u'\n');
        if (const QString report = vcardImportReport(result); !report.isEmpty()) {
            console.err << QString(report).replace(u'\r', u'\n') << '\n';
            return Stopped;
        }
        return Done;
    case Status::NoCards:
        console.err << "Il file " << parsed->file << " non contiene schede vCard\n";
        return Failed;
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
