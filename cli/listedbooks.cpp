#include "listedbooks.h"

#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "store/storeerror.h"

namespace parlix::cli {

std::optional<QStringList> listedBooks(const DataFolder& folder, Console& console)
{
    try {
        ProgramState state(folder);
        return BookCatalog(state).names();
    } catch (const StoreError& error) {
        console.err << "Impossibile leggere l'elenco delle rubriche: " << error.message() << '\n';
        return std::nullopt;
    }
}

} // namespace parlix::cli
