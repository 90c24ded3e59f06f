#include "storecommand.h"

#include "cli/report.h"
#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix::cli {

CommandGrammar StoreCommand::grammar() const
{
    return {
        0,
        0,
        {},
        {{QStringLiteral("store"),
          QStringLiteral("l'archivio: i file della cartella dati o il database condiviso "
                         "(la password come ****)")},
         {QStringLiteral("server"), QStringLiteral("la versione del server PostgreSQL; vuoto per i file")},
         {QStringLiteral("books"), QStringLiteral("quante rubriche; null quando l'archivio non risponde")},
         {QStringLiteral("answers"), QStringLiteral("true quando l'archivio risponde")}}};
}

int StoreCommand::execute(const DataFolder& folder, const QStringList&, Console& console)
{
    ProgramState state(folder);
    const QString description = state.store->description();
    QString server;
    std::optional<qsizetype> books;
    std::optional<QString> problem;
    // Everything is asked before anything is printed, so a store that stops answering half-way
    // cannot leave a line cut short.
    try {
        server = state.store->probe();
        books = BookCatalog(state).names().size();
    } catch (const StoreError& error) {
        problem = error.message();
    }
    QString text = QStringLiteral("Archivio: ") + description + u'\n';
    if (!server.isEmpty())
        text += QStringLiteral("Server: ") + server + u'\n';
    if (books)
        text += QStringLiteral("Rubriche: ") + QString::number(*books) + u'\n';
    text += problem ? QStringLiteral("Stato: non risponde\n") : QStringLiteral("Stato: risponde\n");
    report(console,
           {{QStringLiteral("store"), description},
            {QStringLiteral("server"), server},
            {QStringLiteral("books"), books ? QJsonValue(qint64(*books)) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("answers"), !problem}},
           text);
    if (!problem)
        return Done;
    console.err << "parlix-cli: " << *problem << '\n';
    return Failed;
}

} // namespace parlix::cli
