#include "migratecommand.h"

#include "contacts/storemigration.h"
#include "core/datafolder.h"
#include "core/textfile.h"
#include "store/pgconnection.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QFile>

namespace parlix::cli {

int MigrateCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    QStringList words = arguments;
    const bool switching = words.removeAll(QStringLiteral("--switch")) == 1;
    const bool to = words.size() == 2 && words[0] == u"--to";
    const bool from = words.size() == 2 && words[0] == u"--from";
    if ((!to && !from) || arguments.size() != words.size() + (switching ? 1 : 0)) {
        console.err << "Uso: parlix-cli migrate " << synopsis() << '\n';
        return Usage;
    }
    const QString address = words[1];
    const QString problem = PgConnection::conninfoProblem(address);
    if (!problem.isEmpty()) {
        console.err << "parlix-cli: " << problem << '\n';
        return Usage;
    }
    const auto files = Store::files(folder.root());
    const auto shared = Store::postgres(address, folder.root());
    int copied = 0;
    try {
        copied =
            StoreMigration(folder, to ? files : shared, to ? shared : files).run([&](const QString& line) {
                console.out << line << '\n';
                console.out.flush();
            });
    } catch (const StoreError& error) {
        console.err << "parlix-cli: copia non riuscita, la destinazione è rimasta com'era: "
                    << error.message() << '\n';
        return Failed;
    }
    console.out << "Copiate " << copied << " rubriche.\n";
    if (!switching)
        return Done;
    // Only now that the copy is verified does the folder change store.
    const QString archivio = folder.path(QStringLiteral("archivio"));
    QString error;
    const bool switched = to ? textfile::writeLines(archivio, {address}, textfile::Access::Normal, &error)
                             : QFile::remove(archivio);
    if (!switched && (to || QFile::exists(archivio))) {
        console.err << "parlix-cli: copia riuscita, ma il file " << archivio << " non si può "
                    << (to ? QStringLiteral("scrivere: ") + error : QStringLiteral("eliminare")) << '\n';
        return Failed;
    }
    console.out << (to ? "Da ora la cartella usa l'archivio condiviso: "
                       : "Da ora la cartella usa i propri file: ")
                << (to ? PgConnection::maskedConninfo(address) : folder.root()) << '\n';
    return Done;
}

} // namespace parlix::cli
