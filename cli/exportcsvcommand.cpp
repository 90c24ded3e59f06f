#include "exportcsvcommand.h"

#include "cli/filearguments.h"
#include "cli/report.h"
#include "contacts/bookcatalog.h"
#include "core/programstate.h"
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
    std::vector<Contact> contacts;
    try {
        if (!BookCatalog(state).isStored(parsed->book)) {
            console.err << "La rubrica \"" << parsed->book << "\" non esiste\n";
            return Failed;
        }
        contacts = bookContacts(state, parsed->book);
    } catch (const StoreError& error) {
        console.err << "Impossibile leggere la rubrica \"" << parsed->book << "\": " << error.message()
                    << '\n';
        return Failed;
    }
    if (!writeContactsFile(parsed->file, contacts)) {
        console.err << "Impossibile scrivere il file " << parsed->file << '\n';
        return Failed;
    }
    report(console,
           {{QStringLiteral("book"), parsed->book}, {QStringLiteral("exported"), int(contacts.size())}},
           QString::number(contacts.size()) + u'\n');
    return Done;
}

} // namespace parlix::cli
