#include "migratecommand.h"

#include "cli/report.h"
#include "contacts/storemigration.h"
#include "core/datafolder.h"
#include "core/textfile.h"
#include "store/pgconnection.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QFile>
#include <QJsonArray>

namespace parlix::cli {

namespace {

// The words without "--switch", when it is given at most once.
std::optional<QStringList> withoutSwitch(const QStringList& arguments, bool& switching)
{
    QStringList words = arguments;
    const qsizetype removed = words.removeAll(QStringLiteral("--switch"));
    switching = removed == 1;
    if (removed > 1 || words.size() != 2 || (words[0] != u"--to" && words[0] != u"--from"))
        return std::nullopt;
    return words;
}

} // namespace

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
              {}},
             {QStringLiteral("switch"),
              {},
              QStringLiteral("a copia verificata, la cartella dati passa alla destinazione (scrive o toglie "
                             "il file archivio)"),
              {},
              {}}},
            {{QStringLiteral("books"),
              QStringLiteral("una riga per rubrica copiata: nome e quanto ne è stato copiato")},
             {QStringLiteral("copied"), QStringLiteral("le rubriche copiate")}}};
}

bool MigrateCommand::accepts(const QStringList& arguments, QTextStream&) const
{
    bool switching = false;
    return withoutSwitch(arguments, switching).has_value();
}

int MigrateCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    bool switching = false;
    const auto words = withoutSwitch(arguments, switching);
    if (!words) {
        console.err << "Uso: parlix-cli migrate " << synopsis() << '\n';
        return Usage;
    }
    const bool to = words->at(0) == u"--to";
    const QString address = words->at(1);
    const QString problem = PgConnection::conninfoProblem(address);
    if (!problem.isEmpty()) {
        console.err << "parlix-cli: " << problem << '\n';
        return Usage;
    }
    const auto files = Store::files(folder.root());
    const auto shared = Store::postgres(address, folder.root());
    QStringList copied;
    const auto tell = [&] {
        report(console,
               {{QStringLiteral("books"), QJsonArray::fromStringList(copied)},
                {QStringLiteral("copied"), int(copied.size())}},
               {});
    };
    try {
        StoreMigration(folder, to ? files : shared, to ? shared : files).run([&](const QString& line) {
            copied << line;
            if (!console.json) {
                console.out << line << '\n';
                console.out.flush();
            }
        });
    } catch (const StoreError& error) {
        console.err << "parlix-cli: copia non riuscita, la destinazione è rimasta com'era: "
                    << error.message() << '\n';
        copied.clear(); // nothing of it stays
        tell();
        return Failed;
    }
    tell();
    if (!console.json)
        console.out << "Copiate " << copied.size() << " rubriche.\n";
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
    if (!console.json)
        console.out << (to ? "Da ora la cartella usa l'archivio condiviso: "
                           : "Da ora la cartella usa i propri file: ")
                    << (to ? PgConnection::maskedConninfo(address) : folder.root()) << '\n';
    return Done;
}

} // namespace parlix::cli
