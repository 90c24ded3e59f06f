#include "exportcsvcommand.h"

#include "cli/filearguments.h"
#include "cli/standardstreams.h"
#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "core/userfile.h"
#include "store/storeerror.h"
#include "transfer/csvexport.h"

namespace parlix::cli {

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
    if (isStandardStream(parsed->file)) {
        if (!outputBytes(console)(contactsFileBytes(contacts))) {
            console.err << userfile::unwritableMessage(parsed->file, {}) << '\n';
            return Failed;
        }
        console.err << "Contatti esportati: " << contacts.size() << '\n';
        return Done;
    }
    QString error;
    if (!writeContactsFile(parsed->file, contacts, &error)) {
        console.err << userfile::unwritableMessage(parsed->file, error) << '\n';
        return Failed;
    }
    console.out << contacts.size() << '\n';
    return Done;
}

} // namespace parlix::cli
