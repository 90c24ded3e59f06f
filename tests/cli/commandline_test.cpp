#include "cli/commandline.h"
#include "tests/cli/consolerun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        {{QStringLiteral("--home")}, Usage, {}, false, QStringLiteral("--home vuole")},
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
