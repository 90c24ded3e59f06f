#pragma once

#include "cli/command.h"
#include "cli/filearguments.h"
#include "cli/report.h"
#include "cli/standardstreams.h"
#include "core/programstate.h"
#include "core/userfile.h"

#include <QBuffer>

#include <utility>

namespace parlix::cli {

// The commands that import a contact file into a book ("import-csv",
// "import-vcard"): the words "FILE|- [--book NOME]", the file or standard
// input imported with a progress line, and the failures every such import
// tells alike. `Import` is the transfer class (CsvImport, VcardImport); each
// command tells what the rest of its results mean in finish().
template <typename Import> class ContactImportCommand : public Command
{
public:
    using Result = decltype(std::declval<Import&>().run(QString(), QString(), Progress()));

    QString synopsis() const override { return QStringLiteral("FILE|- [--book NOME]"); }
    bool accepts(const QStringList& arguments, QTextStream&) const override
    {
        return parseFileArguments(arguments).has_value();
    }
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override
    {
        const auto parsed = parseFileArguments(arguments);
        if (!parsed) {
            console.err << "Uso: parlix-cli " << name() << ' ' << synopsis() << '\n';
            return Usage;
        }
        ProgramState state(folder);
        Import import(state);
        QBuffer text;
        const Progress progress = transferProgress(console, progressWhat());
        const Result result = isStandardStream(parsed->file)
                                  ? import.run(inputBytes(console, text), parsed->book, progress)
                                  : import.run(parsed->file, parsed->book, progress);
        using Status = typename Result::Status;
        switch (result.status) {
        case Status::FileUnreadable:
            console.err << userfile::unreadableMessage(parsed->file, result.detail) << '\n';
            return Failed;
        case Status::BookMissing:
            console.err << "La rubrica \"" << parsed->book << "\" non esiste\n";
            return Failed;
        case Status::StoreFailed:
            console.err << "Importazione non riuscita, nessun contatto importato: " << result.detail << '\n';
            return Failed;
        default:
            return finish(result, *parsed, console);
        }
    }

protected:
    // What the progress line counts, e.g. "Contatti scritti".
    virtual QString progressWhat() const = 0;
    // The exit status of an import that neither failed to read the file nor
    // to find or write the book, its results told on `console`.
    virtual int finish(const Result& result, const FileArguments& words, Console& console) const = 0;
};

} // namespace parlix::cli
