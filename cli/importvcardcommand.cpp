#include "importvcardcommand.h"

#include "cli/filearguments.h"
#include "cli/standardstreams.h"
#include "core/programstate.h"
#include "core/userfile.h"
#include "transfer/vcardimport.h"

#include <QBuffer>

namespace parlix::cli {

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
    const VcardImportResult result = isStandardStream(parsed->file)
                                         ? import.run(inputBytes(console, text), parsed->book)
                                         : import.run(parsed->file, parsed->book);
    using Status = VcardImportResult::Status;
    switch (result.status) {
    case Status::Done:
        console.out << result.imported << '\n';
        if (const QString report = vcardImportReport(result); !report.isEmpty()) {
            console.err << QString(report).replace(u'\r', u'\n') << '\n';
            return Stopped;
        }
        return Done;
    case Status::NoCards:
        console.err << "Il file " << parsed->file << " non contiene schede vCard\n";
        return Failed;
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
