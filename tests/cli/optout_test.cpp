#include "clisandbox.h"
#include "sending/scheduledstore.h"
#include "store/store.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace parlix;
using namespace parlix::test;
using parlix::cli::Done;
using parlix::cli::Failed;
using parlix::cli::Stopped;

namespace {

QStringList args(const char* line)
{
    return QString::fromUtf8(line).split(u' ');
}

class OptOutOnBothStores : public ::testing::TestWithParam<Backend>
{
};

INSTANTIATE_TEST_SUITE_P(BothStores, OptOutOnBothStores, ::testing::Values(Backend::Files, Backend::Postgres),
                         [](const auto& info) { return backendName(info.param); });

TEST_P(OptOutOnBothStores, EverySendPathSkipsARegisteredNumber)
{
    const struct
    {
        const char* what;
        std::vector<std::string> sandbox;
        std::vector<const char*> steps; // at 09:26, except run-scheduled at 10:00
        int requests;                   // to the registered number, as the sandbox's trace shows them
        qint64 batch;                   // the batch that records it as excluded
    } rows[] = {
        {"send", {}, {"optout add 3334445555", "send --book Principale --text Ciao"}, 0, 1},
        {"kept for later, registered before its time",
         {},
         {"send --book Principale --text Ciao --at 2026-03-14T10:00", "optout add 00393334445555",
          "run-scheduled"},
         0,
         1},
        {"resend of a refused number",
         {"--refuse", "+393334445555"},
         {"send --book Principale --text Ciao", "optout add 3334445555",
          "resend --book Principale --batch 1"},
         1,
         2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CliSandbox cli(row.sandbox, GetParam());
        cli.folder.addContact(QStringLiteral("Principale"), QStringLiteral("Mario"), QStringLiteral("Rossi"),
                              QStringLiteral("3331112222"));
        cli.folder.addContact(QStringLiteral("Principale"), QStringLiteral("Anna"), QStringLiteral("Bianchi"),
                              QStringLiteral("3334445555"));
        QString err;
        for (const char* step : row.steps) {
            if (QString::fromUtf8(step) == u"run-scheduled")
                cli.folder.clock.set(QDateTime(QDate(2026, 3, 14), QTime(10, 0)));
            err += cli.run(args(step)).err;
        }
        EXPECT_EQ(cli.sent(), QStringList{QStringLiteral("+393331112222|TEXT|Ciao")});
        int requests = 0;
        for (const std::string& line : cli.sandbox.traceLines())
            requests += line.find("3334445555") != std::string::npos;
        EXPECT_EQ(requests, row.requests);
        ScheduledStore journal(*cli.folder.state.store,
                               cli.folder.state.folder.bookPath(QStringLiteral("Principale")));
        const std::vector<RecipientEntry> entries = journal.entries(row.batch);
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries.back().state, RecipientEntry::State::Excluded);
        EXPECT_EQ(journal.counts(row.batch).excluded, 1);
        EXPECT_TRUE(err.contains(OptOutRegister::excludedText(1))) << err.toStdString();
    }
}

TEST(OptOutCommand, ManagesTheRegisterForPeopleAndScripts)
{
    CliSandbox cli;
    QFile list(cli.folder.path(QStringLiteral("stop.txt")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("3479999999\r\nnon un numero\r\n+39 333 1234567\r\n");
    list.close();
    const QString file = list.fileName();
    const QString added = QStringLiteral("14/03/2026 09:26:53");
    const struct
    {
        QStringList arguments;
        int status;
        QString out;
    } rows[] = {
        {args("optout add +39~333~1234567"), Done, QStringLiteral("+393331234567\n")},
        {args("optout add 00393331234567 --json"), Done,
         QStringLiteral("{\"exit\":0,\"number\":\"+393331234567\",\"outcome\":\"present\"}\n")},
        {args("optout add 333abc"), Failed, {}},
        {QStringList{QStringLiteral("optout"), QStringLiteral("import"), file, QStringLiteral("--json")},
         Stopped,
         QStringLiteral("{\"added\":1,\"exit\":3,\"present\":1,\"skipped\":[\"riga 2: non un numero\"]}\n")},
        {args("optout remove 3479999999 --yes"), Done, {}},
        {args("optout remove 3479999999 --yes"), Failed, {}},
        {args("optout list"), Done, QStringLiteral("+393331234567\t%1\tdigitato\t\t\n").arg(added)},
        {args("optout list --all --search 347"), Done,
         QStringLiteral("+393479999999\t%1\timportato (stop.txt)\t\t%1\n").arg(added)},
        {args("optout remove 3331234567"), Failed, {}}, // no "s" on standard input
        {args("optout line Rispondi_STOP --json"), Done,
         QStringLiteral("{\"exit\":0,\"line\":\"Rispondi_STOP\"}\n")},
        {args("optout line"), Done, QStringLiteral("Rispondi_STOP\n")},
        {args("optout list extra"), parlix::cli::Usage, {}},
    };
    for (const auto& row : rows) {
        QStringList arguments = row.arguments;
        arguments.replaceInStrings(QStringLiteral("~"), QStringLiteral(" "));
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const CliSandbox::Outcome outcome = cli.run(arguments);
        EXPECT_EQ(outcome.status, row.status) << outcome.err.toStdString();
        EXPECT_EQ(outcome.out, row.out);
    }
}

// A copy of the program outside the build tree looks for the installed phone
// number module: without it adding to the register fails, and a send to a
// book with a registered number stops before sending anything.
TEST(OptOutWithoutThePhoneNumberModule, AnAddFailsAndNothingIsSent)
{
    const QString module = QStringLiteral(PARLIX_INSTALLED_PHONE_NUMBERS);
    const QString missing = QStringLiteral("manca il modulo %1 (").arg(module);
    if (QFile::exists(module))
        GTEST_SKIP() << "the phone number module is installed on this system";
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("dati"));
    const QString copy = dir.filePath(QStringLiteral("parlix-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PARLIX_CLI), copy));
    const auto run = [&](const QString& program, const char* line) {
        QProcess cli;
        cli.start(program, QStringList{QStringLiteral("--home"), home} + args(line));
        EXPECT_TRUE(cli.waitForFinished(30000));
        return std::pair{cli.exitCode(), QString::fromUtf8(cli.readAllStandardError())};
    };
    auto [status, err] = run(copy, "optout add 3331234567");
    EXPECT_EQ(status, int(Failed));
    EXPECT_TRUE(err.startsWith(missing)) << err.toStdString();
    ASSERT_EQ(
        run(QStringLiteral(PARLIX_CLI), "import-vcard " PARLIX_TEST_DATA_DIR "/vcard/phone21.vcf").first,
        Done);
    ASSERT_EQ(run(QStringLiteral(PARLIX_CLI), "optout add 3331234567").first, Done);
    std::tie(status, err) = run(copy, "send --book Principale --text Ciao");
    EXPECT_EQ(status, int(Failed));
    EXPECT_TRUE(err.startsWith(missing) && err.contains(QStringLiteral("Nessun SMS inviato.")))
        << err.toStdString();
}

} // namespace
