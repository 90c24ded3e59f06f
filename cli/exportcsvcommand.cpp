#include "exportcsvcommand.h"

#include "cli/filearguments.h"
#include "cli/report.h"
#include "cli/standardstreams.h"
#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "core/userfile.h"
#include "store/storeerror.h"
#include "transfer/csvexport.h"

namespace parlix::cli {

CommandGrammar ExportCsvCommand::grammar() const
{
    return fileGrammar({{QStringLiteral("book"), QStringLiteral("la rubrica")},
                        {QStringLiteral("exported"), QStringLiteral("i contatti esportati")}});
}

bool ExportCsvCommand::accepts(const QStringList& arguments, QTextStream&) const
{
    return parseFileArguments(arguments).has_value();
}

int ExportCsvCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const auto parsed = parseFileArguments(arguments);
    if (!parsed) {
        console.err << "Uso: parlix-cli export-csv " << synopsis() << '\n';
        return Usage;
    }
    ProgramState state(folder);
    const bool toOutput = isStandardStream(parsed->file);
    // The book is written as it is read, a block at a time: a file is put in
    // place only once whole, standard output gets each block as it comes.
    std::optional<int> exported;
    QString error;
    try {
        if (!BookCatalog(state).isStored(parsed->book)) {
            console.err << "La rubrica \"" << parsed->book << "\" non esiste\n";
            return Failed;
        }
        if (toOutput) {
            exported = writeBookContacts(state, parsed->book, outputBytes(console));
        } else {
            textfile::ReplacingFile file(parsed->file);
            exported = writeBookContacts(state, parsed->book,
                                         [&file](const QByteArray& block) { return file.write(block); });
            if (exported && !file.commit())
                exported.reset();
            error = file.error();
        }
    } catch (const StoreError& storeError) {
        console.err << "Impossibile leggere la rubrica \"" << parsed->book << "\": " << storeError.message()
                    << '\n';
        return Failed;
    }
    if (!exported) {
        console.err << userfile::unwritableMessage(parsed->file, error) << '\n';
        return Failed;
    }
    if (toOutput && !console.json)
        console.err << "Contatti esportati: " << *exported << '\n';
    // With the contacts on standard output, the JSON object goes to standard error.
    console.reportOnErr = toOutput;
    report(console, {{QStringLiteral("book"), parsed->book}, {QStringLiteral("exported"), *exported}},
           toOutput ? QString() : QString::number(*exported) + u'\n');
    return Done;
}

} // namespace parlix::cli
