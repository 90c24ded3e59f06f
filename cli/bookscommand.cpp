#include "bookscommand.h"

#include "cli/listedbooks.h"
#include "cli/report.h"

#include <QJsonArray>

namespace parlix::cli {

CommandGrammar BooksCommand::grammar() const
{
    return {
        0,
        0,
        {},
        {{QStringLiteral("books"), QStringLiteral("i nomi delle rubriche, in ordine di memorizzazione")}}};
}

int BooksCommand::execute(const DataFolder& folder, const QStringList&, Console& console)
{
    const std::optional<QStringList> books = listedBooks(folder, console);
    if (!books)
        return Failed;
    report(console, {{QStringLiteral("books"), QJsonArray::fromStringList(*books)}},
           books->isEmpty() ? QString() : books->join(u'\n') + u'\n');
    return Done;
}

} // namespace parlix::cli
