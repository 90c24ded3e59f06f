#include "clisandbox.h"
#include "process_runner.h"
#include "sending/scheduledstore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <map>
#include <thread>

using namespace parlix;
using namespace parlix::test;

namespace {

// Stores one batch to `count` contacts, due already.
void storeDueBatch(CliSandbox& cli, int count)
{
    cli.addContacts(count);
    cli.folder.clock.set(QDateTime(QDate(2025, 12, 31), QTime(8, 0)));
    ASSERT_EQ(cli.run({QStringLiteral("send"), QStringLiteral("--book"), QStringLiteral("Principale"),
                       QStringLiteral("--text"), QStringLiteral("Ciao {Nome}"), QStringLiteral("--at"),
                       QStringLiteral("2026-01-01T08:00")})
                  .status,
              cli::Done);
}

std::vector<std::string> runScheduled(const CliSandbox& cli)
{
    return {PARLIX_CLI, "--home", cli.home().toStdString(), "run-scheduled"};
}

std::map<QString, int> timesSent(const CliSandbox& cli)
{
    std::map<QString, int> times;
    for (const QString& sms : cli.sent())
        ++times[sms.section(u'|', 0, 0)];
    return times;
}

int acceptedIn(const std::string& out)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Inviati (\\d+) di")).match(QString::fromStdString(out));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

TEST(RunScheduledProcesses, TwoAtOnceServeEachRecipientOnce)
{
    constexpr int recipients = 40;
    CliSandbox cli({"--delay", "3"});
    storeDueBatch(cli, recipients);
    const std::map<std::string, std::string> environment{{"QWIRL_SEND_HOST", cli.sandbox.host()}};

    qwirl::testing::ProcessResult first, second;
    std::thread one([&] { first = qwirl::testing::runProcess(runScheduled(cli), environment); });
    std::thread two([&] { second = qwirl::testing::runProcess(runScheduled(cli), environment); });
    one.join();
    two.join();

    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(second.exitCode, 0) << second.err;
    const std::map<QString, int> times = timesSent(cli);
    EXPECT_EQ(times.size(), size_t(recipients));
    for (const auto& [number, count] : times)
        EXPECT_EQ(count, 1) << number.toStdString();
    EXPECT_EQ(acceptedIn(first.out) + acceptedIn(second.out), recipients) << first.out << second.out;
    // Each runner keeps the gateway's figure, not its own start less its own SMS.
    QFile residui(cli.folder.path(QStringLiteral("residui.txt")));
    ASSERT_TRUE(residui.open(QIODevice::ReadOnly));
    EXPECT_EQ(residui.readAll(), QByteArray("60\r\n"));
    EXPECT_EQ(
        cli.folder
            .rows(cli.folder.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("inviati"))
            .size(),
        1);
}

TEST(RunScheduledProcesses, AKilledRunLeavesTheRestToTheNextAndNothingTwice)
{
    constexpr int recipients = 30;
    CliSandbox cli({"--delay", "60"});
    storeDueBatch(cli, recipients);

    QProcess killed;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QWIRL_SEND_HOST"), QString::fromStdString(cli.sandbox.host()));
    killed.setProcessEnvironment(environment);
    killed.start(QStringLiteral(PARLIX_CLI),
                 {QStringLiteral("--home"), cli.home(), QStringLiteral("run-scheduled")});
    ASSERT_TRUE(killed.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (cli.sent().size() < 5 && clock.elapsed() < 20000)
        QThread::msleep(5);
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished());
    EXPECT_EQ(killed.exitStatus(), QProcess::CrashExit);
    QThread::msleep(200); // the sandbox finishes the exchange it was answering
    const int beforeRerun = int(cli.sent().size());
    ASSERT_LT(beforeRerun, recipients);

    const qwirl::testing::ProcessResult rerun =
        qwirl::testing::runProcess(runScheduled(cli), {{"QWIRL_SEND_HOST", cli.sandbox.host()}});
    EXPECT_EQ(rerun.exitCode, 0) << rerun.err;

    ScheduledStore store(*cli.folder.state.store,
                         cli.folder.state.folder.bookPath(QStringLiteral("Principale")));
    const QStringList underWay = store.underWay(1);
    EXPECT_LE(underWay.size(), 1) << "only the exchange cut by the kill is in doubt";
    EXPECT_EQ(acceptedIn(rerun.out), int(cli.sent().size()) - beforeRerun) << rerun.out;
    const std::map<QString, int> times = timesSent(cli);
    for (const auto& [number, count] : times)
        EXPECT_EQ(count, 1) << number.toStdString();
    // Every recipient was served, except at most the one in doubt.
    for (int i = 1; i <= recipients; ++i) {
        const QString number = QStringLiteral("333%1").arg(i, 7, 10, QChar(u'0'));
        if (!underWay.contains(number)) {
            EXPECT_EQ(times.count(QStringLiteral("+39") + number), 1u) << number.toStdString();
        }
    }
    EXPECT_EQ(store.counts(1).waiting, 0);
    EXPECT_TRUE(cli.run({QStringLiteral("scheduled")}).out.isEmpty());
}
