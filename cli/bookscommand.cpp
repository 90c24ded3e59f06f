#include "bookscommand.h"

#include "cli/listedbooks.h"

namespace parlix::cli {

int BooksCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    if (!arguments.isEmpty()) {
        console.err << "Uso: parlix-cli books\n";
        return Usage;
    }
    const std::optional<QStringList> books = listedBooks(folder, console);
    if (!books)
        return Failed;
    for (const QString& book : *books)
        console.out << book << '\n';
    return Done;
}

} // namespace parlix::cli
