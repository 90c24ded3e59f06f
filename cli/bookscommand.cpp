#include "bookscommand.h"

#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "store/storeerror.h"

namespace parlix::cli {

int BooksCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    if (!arguments.isEmpty()) {
        console.err << "Uso: parlix-cli books\n";
        return Usage;
    }
    try {
        ProgramState state(folder);
        for (const QString& book : BookCatalog(state).names())
            console.out << book << '\n';
        return Done;
    } catch (const StoreError& error) {
        console.err << "Impossibile leggere l'elenco delle rubriche: " << error.message() << '\n';
        return Failed;
    }
}

} // namespace parlix::cli
