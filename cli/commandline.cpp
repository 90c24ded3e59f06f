#include "commandline.h"

#include "cli/bookscommand.h"
#include "cli/democommand.h"
#include "cli/exportcsvcommand.h"
#include "cli/exportvcardcommand.h"
#include "cli/importcsvcommand.h"
#include "cli/importericsoftcommand.h"
#include "cli/importvcardcommand.h"
#include "cli/linegrammar.h"
#include "cli/migratecommand.h"
#include "cli/optoutcommand.h"
#include "cli/report.h"
#include "cli/resendcommand.h"
#include "cli/runscheduledcommand.h"
#include "cli/scheduledcommand.h"
#include "cli/sendcommand.h"
#include "cli/statscommand.h"
#include "cli/storecommand.h"
#include "cli/userscommand.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "core/secretfiles.h"
#include "core/storechoice.h"

#include <QJsonDocument>

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
    commands.push_back(std::make_unique<OptOutCommand>(defaultSendingServices().clock));
    commands.push_back(std::make_unique<StatsCommand>(defaultSendingServices().clock));
    return commands;
}

namespace {

int refuse(const QString& error, const Command* command, Console& console)
{
    console.err << "parlix-cli: " << error << '\n' << usageText(command);
    if (command)
        console.err << "\"parlix-cli help " << command->name() << "\" spiega il comando.\n";
    else
        console.err << "\"parlix-cli --help\" elenca i comandi.\n";
    console.err.flush();
    return Usage;
}

// The run's JSON object, with its exit status, on one line.
void printReport(int status, Console& console)
{
    console.report.insert(QStringLiteral("exit"), status);
    QTextStream& stream = console.reportOnErr ? console.err : console.out;
    stream << QJsonDocument(console.report).toJson(QJsonDocument::Compact) << '\n';
}

} // namespace

int run(const QStringList& arguments, const Commands& commands, Console& console)
{
    QString error;
    Command* command = nullptr;
    const std::optional<ParsedLine> line = parseLine(arguments, commands, error, command);
    if (!line)
        return refuse(arguments.isEmpty() ? QStringLiteral("manca il comando") : error, command, console);
    switch (line->action) {
    case ParsedLine::Action::Help:
        console.out << helpText(commands, command);
        console.out.flush();
        return Done;
    case ParsedLine::Action::Version:
        console.out << versionText();
        console.out.flush();
        return Done;
    case ParsedLine::Action::DumpGrammar:
        console.out << QString::fromUtf8(grammarJson(commands));
        console.out.flush();
        return Done;
    case ParsedLine::Action::Run:
        break;
    }
    if (!command->accepts(line->words, console.err))
        return refuse(QStringLiteral("argomenti non validi per %1").arg(command->name()), command, console);

    console.json = line->json;
    console.quiet = line->quiet;
    if (line->quiet)
        console.progress = false;
    const QStringList home =
        line->home.isNull() ? QStringList{} : QStringList{QStringLiteral("--home"), line->home};
    const DataFolder folder(DataFolder::defaultRoot(home));
    int status = Failed;
    // An "archivio" that cannot be read stops everything: working on the
    // folder's own files instead would split the data without a word.
    if (const auto problem = storeChoiceProblem(folder)) {
        console.err << "parlix-cli: " << *problem << '\n';
    } else if (const QStringList failed = Installer(folder).run(); !failed.isEmpty()) {
        console.err << "parlix-cli: impossibile creare nella cartella dati " << folder.root() << ": "
                    << failed.join(QStringLiteral(", ")) << '\n';
    } else {
        for (const QString& notice : tightenSecretFiles(folder))
            console.err << "parlix-cli: " << notice << '\n';
        status = command->execute(folder, line->words, console);
    }
    endProgress(console);
    if (console.json)
        printReport(status, console);
    console.out.flush();
    console.err.flush();
    return status;
}

} // namespace parlix::cli
