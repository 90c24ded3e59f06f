#include "storecommand.h"

#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix::cli {

int StoreCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    if (!arguments.isEmpty()) {
        console.err << "Uso: parlix-cli store\n";
        return Usage;
    }
    ProgramState state(folder);
    console.out << "Archivio: " << state.store->description() << '\n';
    try {
        const QString server = state.store->probe();
        if (!server.isEmpty())
            console.out << "Server: " << server << '\n';
        console.out << "Rubriche: " << BookCatalog(state).names().size() << '\n';
        console.out << "Stato: risponde\n";
        return Done;
    } catch (const StoreError& error) {
        console.out << "Stato: non risponde\n";
        console.err << "parlix-cli: " << error.message() << '\n';
        return Failed;
    }
}

} // namespace parlix::cli
