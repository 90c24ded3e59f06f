#include "cli/commandline.h"
#include "tests/cli/consolerun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace parlix::cli;

namespace {

using parlix::test::Outcome;
using parlix::test::runLine;

} // namespace

TEST(CommandLine, StatusAndStreamsOfTheCommonWords)
{
    QTemporaryDir home;
    const QString dir = home.path() + QStringLiteral("/dati");
    struct Row
    {
        QStringList arguments;
        int status;
        QString out; // whole standard output, or a part of it when `outPart`
        bool outPart;
        QString errPart; // a part of the standard error
    } rows[] = {
        {{QStringLiteral("--help")}, Done, QStringLiteral("books"), true, {}},
        {{}, Usage, {}, false, QStringLiteral("Uso: parlix-cli")},
        {{QStringLiteral("--home")}, Usage, {}, false, QStringLiteral("manca il valore di --home")},
        {{QStringLiteral("--home"), dir, QStringLiteral("nessuno")},
         Usage,
         {},
         false,
         QStringLiteral("comando sconosciuto \"nessuno\"")},
        {{QStringLiteral("--home"), dir, QStringLiteral("books")},
         Done,
         QStringLiteral("Principale\n"),
         false,
         {}},
        {{QStringLiteral("--home"), dir, QStringLiteral("books"), QStringLiteral("x")},
         Usage,
         {},
         false,
         QStringLiteral("Uso: parlix-cli books")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome outcome = runLine(row.arguments);
        EXPECT_EQ(outcome.status, row.status);
        if (row.outPart)
            EXPECT_TRUE(outcome.out.contains(row.out)) << outcome.out.toStdString();
        else
            EXPECT_EQ(outcome.out, row.out);
        EXPECT_TRUE(outcome.err.contains(row.errPart)) << outcome.err.toStdString();
    }
}

TEST(CommandLine, TheDataFolderComesFromHomeThenTheEnvironmentAndIsInstalled)
{
    QTemporaryDir home;
    const QString fromEnvironment = home.path() + QStringLiteral("/env");
    qputenv("PARLIX_HOME", fromEnvironment.toLocal8Bit());
    EXPECT_EQ(runLine({QStringLiteral("books")}).out, QStringLiteral("Principale\n"));
    EXPECT_TRUE(QFile::exists(fromEnvironment + QStringLiteral("/elenco.mdb")));

    const QString given = home.path() + QStringLiteral("/given");
    EXPECT_EQ(runLine({QStringLiteral("--home"), given, QStringLiteral("books")}).status, Done);
    EXPECT_TRUE(QFile::exists(given + QStringLiteral("/rubriche/Principale")));
    qunsetenv("PARLIX_HOME");
}

// An "archivio" that is there but cannot be read stops the command: the
// folder's own files are never used in its place.
TEST(CommandLine, AnUnreadableArchivioStopsBeforeTheLocalFilesAreTouched)
{
    const struct
    {
        const char* name;
        std::function<bool(const QString&)> make;
    } rows[] = {
        {"fifo",
         [](const QString& path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }},
        {"folder", [](const QString& path) { return QDir().mkpath(path); }},
        {"over 1 MiB",
         [](const QString& path) {
             QFile file(path);
             return file.open(QIODevice::WriteOnly) && file.write(QByteArray((1 << 20) + 1, 'x')) > 0;
         }},
        {"not readable",
         [](const QString& path) {
             QFile file(path);
             return ::geteuid() != 0 && file.open(QIODevice::WriteOnly) && file.write("host=x\n") > 0 &&
                    file.setPermissions(QFile::WriteOwner);
         }},
    };
    for (const auto& row : rows) {
        QTemporaryDir home;
        if (!row.make(home.filePath(QStringLiteral("archivio"))))
            continue; // the superuser reads every file
        const Outcome outcome = runLine({QStringLiteral("--home"), home.path(), QStringLiteral("books")});
        EXPECT_EQ(outcome.status, Failed) << row.name;
        EXPECT_TRUE(
            outcome.err.contains(QStringLiteral("che indica l'archivio condiviso, non si può leggere")))
            << row.name << ": " << outcome.err.toStdString();
        EXPECT_EQ(outcome.out, QString()) << row.name;
        EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("elenco.mdb")))) << row.name;
    }
}
