#include "migratecommand.h"

#include "cli/report.h"
#include "core/datafolder.h"
#include "core/storemigration.h"
#include "store/pgconnection.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QJsonArray>

namespace parlix::cli {

CommandGrammar MigrateCommand::grammar() const
{
    return {0,
            0,
            {{QStringLiteral("to"),
              QStringLiteral("INDIRIZZO"),
              QStringLiteral(
                  "copia dai file della cartella dati nel database PostgreSQL vuoto a quell'indirizzo"),
              {},
              {}},
             {QStringLiteral("from"),
              QStringLiteral("INDIRIZZO"),
              QStringLiteral("copia dal database PostgreSQL a quell'indirizzo nei file della cartella dati"),
              {},
              {}}},
            {{QStringLiteral("books"),
              QStringLiteral("una riga per rubrica copiata: nome e quanto ne è stato copiato")},
             {QStringLiteral("copied"), QStringLiteral("le rubriche copiate")}}};
}

bool MigrateCommand::accepts(const QStringList& arguments, QTextStream&) const
{
    return arguments.size() == 2 && (arguments[0] == u"--to" || arguments[0] == u"--from");
}

int MigrateCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const bool to = arguments[0] == u"--to";
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
    QStringList copied;
    const auto tell = [&] {
        report(console,
               {{QStringLiteral("books"), QJsonArray::fromStringList(copied)},
                {QStringLiteral("copied"), int(copied.size())}},
               {});
    };
    try {
        StoreMigration(folder, source, target).run([&](const QString& line) {
            copied << line;
            if (!console.json) {
                console.out << line << '\n';
                console.out.flush();
            }
        });
    } catch (const StoreError& error) {
        console.err << "parlix-cli: copia interrotta: " << error.message() << '\n';
        tell();
        return copied.isEmpty() ? Failed : Stopped;
    }
    tell();
    if (!console.json)
        console.out << "Copiate " << copied.size() << " rubriche.\n";
    return Done;
}

} // namespace parlix::cli
