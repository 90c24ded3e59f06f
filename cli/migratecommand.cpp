#include "migratecommand.h"

#include "core/datafolder.h"
#include "core/storemigration.h"
#include "store/pgconnection.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix::cli {

int MigrateCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const bool to = arguments.size() == 2 && arguments[0] == u"--to";
    const bool from = arguments.size() == 2 && arguments[0] == u"--from";
    if (!to && !from) {
        console.err << "Uso: parlix-cli migrate --to INDIRIZZO | --from INDIRIZZO\n";
        return Usage;
    }
    const QString address = arguments[1];
    const QString problem = PgConnection::conninfoProblem(address);
    if (!problem.isEmpty()) {
        console.err << "parlix-cli: " << problem << '\n';
        return Usage;
    }
    const auto files = Store::files(folder.root());
    const auto shared = Store::postgres(address, folder.root());
    Store& source = to ? *files : *shared;
    Store& target = to ? *shared : *files;
    int copied = 0;
    try {
        StoreMigration(folder, source, target).run([&](const QString& line) {
            ++copied;
            console.out << line << '\n';
            console.out.flush();
        });
    } catch (const StoreError& error) {
        console.err << "parlix-cli: copia interrotta: " << error.message() << '\n';
        return copied > 0 ? Stopped : Failed;
    }
    console.out << "Copiate " << copied << " rubriche.\n";
    return Done;
}

} // namespace parlix::cli
