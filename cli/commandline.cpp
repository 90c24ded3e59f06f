#include "commandline.h"

#include "cli/bookscommand.h"
#include "cli/democommand.h"
#include "cli/exportcsvcommand.h"
#include "cli/exportvcardcommand.h"
#include "cli/importcsvcommand.h"
#include "cli/importericsoftcommand.h"
#include "cli/importvcardcommand.h"
#include "cli/migratecommand.h"
#include "cli/resendcommand.h"
#include "cli/runscheduledcommand.h"
#include "cli/scheduledcommand.h"
#include "cli/sendcommand.h"
#include "cli/statscommand.h"
#include "cli/storecommand.h"
#include "cli/userscommand.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "core/storechoice.h"

namespace parlix::cli {

Commands allCommands()
{
    Commands commands;
    commands.push_back(std::make_unique<BooksCommand>());
    commands.push_back(std::make_unique<ImportCsvCommand>());
    commands.push_back(std::make_unique<ExportCsvCommand>());
    commands.push_back(std::make_unique<ImportVcardCommand>());
    commands.push_back(std::make_unique<ExportVcardCommand>());
    commands.push_back(std::make_unique<ImportEricsoftCommand>());
    commands.push_back(std::make_unique<UsersCommand>());
    commands.push_back(std::make_unique<StoreCommand>());
    commands.push_back(std::make_unique<MigrateCommand>());
    commands.push_back(std::make_unique<SendCommand>(defaultSendingServices()));
    commands.push_back(std::make_unique<ScheduledCommand>());
    commands.push_back(std::make_unique<RunScheduledCommand>(defaultSendingServices()));
    commands.push_back(std::make_unique<DemoCommand>(defaultSendingServices().clock));
    commands.push_back(std::make_unique<ResendCommand>(defaultSendingServices()));
    commands.push_back(std::make_unique<StatsCommand>(defaultSendingServices().clock));
    return commands;
}

namespace {

void printHelp(const Commands& commands, QTextStream& out)
{
    out << "Uso: parlix-cli [--home CARTELLA] COMANDO [ARGOMENTI]\n\n"
        << "La cartella dati è quella di --home, altrimenti $PARLIX_HOME, altrimenti\n"
        << "$XDG_DATA_HOME/parlix (~/.local/share/parlix).\n\nComandi:\n";
    for (const auto& command : commands) {
        out << "  " << command->name();
        if (!command->synopsis().isEmpty())
            out << ' ' << command->synopsis();
        out << "\n      " << command->description() << '\n';
    }
    out.flush();
}

} // namespace

int run(const QStringList& arguments, const Commands& commands, Console& console)
{
    QStringList rest;
    QStringList homeArguments;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (rest.isEmpty() && word == QStringLiteral("--home")) {
            if (i + 1 >= arguments.size()) {
                console.err << "parlix-cli: --home vuole il nome di una cartella\n";
                console.err.flush();
                return Usage;
            }
            homeArguments << word << arguments.at(++i);
        } else if (rest.isEmpty() && (word == QStringLiteral("--help") || word == QStringLiteral("-h"))) {
            printHelp(commands, console.out);
            return Done;
        } else {
            rest << word;
        }
    }
    if (rest.isEmpty()) {
        printHelp(commands, console.err);
        return Usage;
    }

    const QString name = rest.takeFirst();
    for (const auto& command : commands) {
        if (command->name() != name)
            continue;
        const DataFolder folder(DataFolder::defaultRoot(homeArguments));
        // An "archivio" that cannot be read stops everything: working on the
        // folder's own files instead would split the data without a word.
        if (const auto problem = storeChoiceProblem(folder)) {
            console.err << "parlix-cli: " << *problem << '\n';
            console.err.flush();
            return Failed;
        }
        const QStringList failed = Installer(folder).run();
        if (!failed.isEmpty()) {
            console.err << "parlix-cli: impossibile creare nella cartella dati " << folder.root() << ": "
                        << failed.join(QStringLiteral(", ")) << '\n';
            console.err.flush();
            return Failed;
        }
        const int status = command->execute(folder, rest, console);
        console.out.flush();
        console.err.flush();
        return status;
    }
    console.err << "parlix-cli: comando sconosciuto \"" << name
                << "\" (parlix-cli --help elenca i comandi)\n";
    console.err.flush();
    return Usage;
}

} // namespace parlix::cli
