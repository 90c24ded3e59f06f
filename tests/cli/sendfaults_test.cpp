#include "clisandbox.h"
#include "process_runner.h"
#include "sending/account.h"
#include "sending/scheduledstore.h"
#include "sending/secretstore.h"
#include "store/pgconnection.h"
#include "store/pgstore.h"
#include "tests/support/fulldisk.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <thread>

using namespace parlix;
using namespace parlix::test;
using State = RecipientEntry::State;

namespace {

QString number(int i)
{
    return QStringLiteral("+39333%1").arg(i, 7, 10, QChar(u'0'));
}

QStringList sendTo(const QString& text, const QStringList& more = {})
{
    return QStringList{QStringLiteral("send"), QStringLiteral("--book"), QStringLiteral("Principale"),
                       QStringLiteral("--text"), text} +
           more;
}

std::map<QString, int> timesSent(const CliSandbox& cli)
{
    std::map<QString, int> times;
    for (const QString& sms : cli.sent())
        ++times[sms.section(u'|', 0, 0)];
    return times;
}

std::vector<RecipientEntry> journal(CliSandbox& cli)
{
    return ScheduledStore(*cli.folder.state.store,
                          cli.folder.state.folder.bookPath(QStringLiteral("Principale")))
        .entries(1);
}

} // namespace

// The console's checks and answers, one row each; every row then asks for a
// resume, which must find nothing left to send.
TEST(SendChecks, TheConsoleRefusesOrSendsAsEachRowSays)
{
    const struct
    {
        std::vector<std::string> sandbox;
        QStringList arguments;
        int status;
        QString err; // a part of standard error
        QStringList sent;
    } rows[] = {
        // The credit exactly covers the SMS.
        {{"--credit", "2"},
         sendTo(QStringLiteral("Ciao")),
         cli::Done,
         {},
         {number(1) + QStringLiteral("|TEXT|Ciao"), number(2) + QStringLiteral("|TEXT|Ciao")}},
        {{}, sendTo(QStringLiteral("Ciao 😀")), cli::Failed, QStringLiteral("trasmettere: 😀."), {}},
        {{},
         sendTo(QStringLiteral("Ciao 😀"), {QStringLiteral("--accept-replacements")}),
         cli::Done,
         QStringLiteral("(1 SMS): Ciao ?\n"),
         {number(1) + QStringLiteral("|TEXT|Ciao ?"), number(2) + QStringLiteral("|TEXT|Ciao ?")}},
        {{},
         sendTo(QStringLiteral("Ciao"), {QStringLiteral("--at"), QStringLiteral("2026-03-14T09:26")}),
         cli::Usage,
         QStringLiteral("è già passata"),
         {}},
        // The gateway takes the first SMS and the connection drops before its answer.
        {{"--cut-after", number(1).toStdString()},
         sendTo(QStringLiteral("Ciao")),
         cli::Stopped,
         QStringLiteral("Esito incerto per 1 destinatari"),
         {number(1) + QStringLiteral("|TEXT|Ciao"), number(2) + QStringLiteral("|TEXT|Ciao")}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        CliSandbox cli(row.sandbox);
        cli.addContacts(2);
        const CliSandbox::Outcome outcome = cli.run(row.arguments);
        EXPECT_EQ(outcome.status, row.status) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.contains(row.err)) << outcome.err.toStdString();
        EXPECT_EQ(cli.sent(), row.sent);
        const CliSandbox::Outcome resumed = cli.run({QStringLiteral("send"), QStringLiteral("--resume")});
        EXPECT_EQ(resumed.err, QStringLiteral("Nessun invio interrotto da riprendere.\n"));
        EXPECT_EQ(cli.sent(), row.sent);
    }
}

// Ctrl-C and SIGTERM let the exchange under way finish, record it, tell how
// to go on and exit 3; a kill leaves at most one recipient in doubt. Either
// way residui.txt holds the credit less the SMS accepted, not less those sent
// (a refused one among them; after a kill, as of the last block or the one
// before), and the resume serves exactly the recipients never tried,
// whether the batch was sent at once or at its time, and whichever command
// resumes it.
TEST(SendSignals, AStoppedOrKilledSendResumesWithTheRecipientsNeverTried)
{
    constexpr int recipients = 20;
    const QStringList resume{QStringLiteral("send"), QStringLiteral("--resume"), QStringLiteral("--book"),
                             QStringLiteral("Principale")};
    const QStringList scheduled{QStringLiteral("run-scheduled")};
    const struct
    {
        bool atItsTime; // stored for later, sent by run-scheduled
        int signal;
        QStringList resume;
    } rows[] = {
        {false, SIGINT, resume},     {false, SIGTERM, resume},  {false, SIGKILL, resume},
        {false, SIGKILL, scheduled}, {true, SIGINT, scheduled}, {true, SIGTERM, scheduled},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.atItsTime << " " << row.signal << " " << row.resume.size());
        CliSandbox cli({"--delay", "40", "--refuse", number(2).toStdString()});
        cli.addContacts(recipients);
        QStringList arguments = sendTo(QStringLiteral("Ciao"));
        if (row.atItsTime) {
            // Due on the home's clock later, long past on the real one the child reads.
            ASSERT_EQ(cli.run(sendTo(QStringLiteral("Ciao"),
                                     {QStringLiteral("--at"), QStringLiteral("2026-03-14T10:00")}))
                          .status,
                      cli::Done);
            arguments = scheduled;
        }
        QProcess send;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QWIRL_SEND_HOST"), QString::fromStdString(cli.sandbox.host()));
        send.setProcessEnvironment(environment);
        send.start(QStringLiteral(PARLIX_CLI), QStringList{QStringLiteral("--home"), cli.home()} + arguments);
        ASSERT_TRUE(send.waitForStarted());
        for (int waited = 0; cli.sent().size() < 4 && waited < 20000; waited += 5)
            QThread::msleep(5);
        ::kill(pid_t(send.processId()), row.signal);
        ASSERT_TRUE(send.waitForFinished());
        if (row.signal != SIGKILL) {
            EXPECT_EQ(send.exitCode(), cli::Stopped);
            const QString err = QString::fromUtf8(send.readAllStandardError());
            EXPECT_TRUE(err.contains(QStringLiteral("Per riprendere: parlix-cli ") +
                                     (row.atItsTime ? scheduled : resume.mid(0, 2)).join(u' ')))
                << err.toStdString();
            EXPECT_TRUE(QString::fromUtf8(send.readAllStandardOutput()).contains(QStringLiteral("Inviati ")));
        }
        QThread::msleep(100); // the sandbox ends the exchange it was answering
        int accepted = 0;
        for (const RecipientEntry& entry : journal(cli))
            accepted += entry.state == State::Accepted;
        QFile residui(cli.folder.state.folder.path(QStringLiteral("residui.txt")));
        ASSERT_TRUE(residui.open(QIODevice::ReadOnly));
        const QByteArray credit = residui.readAll();
        const auto left = [](int accepted) { return QByteArray::number(100 - accepted) + "\r\n"; };
        // A kill may fall between the commit that records an answer and the
        // rewrite of residui.txt after it: the file may still count the block
        // before (one recipient at this gateway's pace), never more.
        if (row.signal == SIGKILL)
            EXPECT_TRUE(credit == left(accepted) || credit == left(accepted - 1)) << credit.toStdString();
        else
            EXPECT_EQ(credit, left(accepted));

        std::vector<std::string> again{PARLIX_CLI, "--home", cli.home().toStdString()};
        for (const QString& word : row.resume)
            again.push_back(word.toStdString());
        const qwirl::testing::ProcessResult resumed =
            qwirl::testing::runProcess(again, {{"QWIRL_SEND_HOST", cli.sandbox.host()}});
        EXPECT_EQ(resumed.exitCode, cli::Done) << resumed.err;
        const std::map<QString, int> times = timesSent(cli);
        for (const RecipientEntry& entry : journal(cli)) {
            const QString to = QStringLiteral("+39") + entry.number;
            EXPECT_NE(entry.state, State::Waiting) << to.toStdString();
            const int expected = entry.state == State::Accepted ? 1 : 0;
            if (entry.state != State::UnderWay) {
                EXPECT_EQ(times.count(to) ? times.at(to) : 0, expected) << to.toStdString();
            }
        }
        for (const auto& [to, count] : times)
            EXPECT_EQ(count, 1) << to.toStdString();
    }
}

// A fault in the middle of a run: a book that can no longer be written (a
// full disk, the shared database's connections cut by its server) stops the
// sending at once with the true counts; a gateway that goes away pauses the
// run without marking anyone served. The rest waits for the resume, which
// serves each recipient at most once.
TEST(SendFaults, AFaultMidRunStopsWithTheTrueCountsAndTheRestWaits)
{
    enum class Fault { DiskFull, StoreLost, GatewayGone };
    for (const Fault fault : {Fault::DiskFull, Fault::StoreLost, Fault::GatewayGone}) {
        SCOPED_TRACE(int(fault));
        CliSandbox cli({"--delay", "20"}, fault == Fault::StoreLost ? Backend::Postgres : Backend::Files);
        cli.addContacts(12);
        std::optional<FullDisk> full;
        auto* shared = dynamic_cast<PgStore*>(cli.folder.state.store.get());
        const int own = shared ? shared->connection().backendPid() : 0;
        std::thread watcher([&] {
            for (int waited = 0; cli.sent().size() < 3 && waited < 20000; waited += 2)
                QThread::msleep(2);
            if (fault == Fault::DiskFull)
                full.emplace(1);
            else if (fault == Fault::StoreLost) // every connection but the test's own
                PgConnection(cli.folder.shared->address)
                    .exec(QStringLiteral(
                              "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname ="
                              " current_database() AND pid NOT IN (pg_backend_pid(), %1)")
                              .arg(own));
            else
                cli.sandbox.stop();
        });
        const CliSandbox::Outcome outcome = cli.run(sendTo(QStringLiteral("Ciao")));
        watcher.join();
        full.reset();
        if (fault == Fault::StoreLost && outcome.status == cli::Done) {
            // The connections were cut between two statements: the console connected again and went on.
            for (const auto& [to, count] : timesSent(cli))
                EXPECT_EQ(count, 1) << to.toStdString();
            EXPECT_EQ(cli.sent().size(), 12);
            continue;
        }
        const qsizetype taken = cli.sent().size();
        EXPECT_EQ(outcome.status, cli::Stopped) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.out.startsWith(QStringLiteral("Inviati %1 di ").arg(taken)))
            << outcome.out.toStdString();
        EXPECT_TRUE(outcome.err.contains(fault == Fault::GatewayGone ? QStringLiteral("invio sospeso")
                                                                     : QStringLiteral("invio fermato")))
            << outcome.err.toStdString();
        EXPECT_FALSE(outcome.err.contains(QStringLiteral("Nessun SMS inviato")));
        const std::map<QString, int> before = timesSent(cli);
        int waiting = 0;
        int cut = 0;
        for (const RecipientEntry& entry : journal(cli)) {
            if (entry.state == State::Waiting) {
                ++waiting;
                EXPECT_EQ(before.count(QStringLiteral("+39") + entry.number), 0U)
                    << entry.number.toStdString();
            }
            cut += entry.state != State::Waiting && entry.state != State::Accepted;
            EXPECT_NE(entry.result, 12029) << "served as unreachable: " << entry.number.toStdString();
        }
        if (fault == Fault::GatewayGone) {
            // The exchanges under way when the gateway stopped have an answer (in doubt, or its
            // going-away answer); the ones it never reached wait, none marked served.
            EXPECT_EQ(waiting, 12 - int(taken) - cut);
            continue;
        }
        EXPECT_GT(waiting, 0);
        EXPECT_EQ(cli.run({QStringLiteral("send"), QStringLiteral("--resume")}).status, cli::Done);
        for (const auto& [to, count] : timesSent(cli))
            EXPECT_EQ(count, 1) << to.toStdString();
        for (const RecipientEntry& entry : journal(cli))
            EXPECT_NE(entry.state, State::Waiting) << entry.number.toStdString();
    }
}

namespace {

// The desktop's keyring as the account sees it: a map behind the interface.
class KeyringStandIn : public SecretStore
{
public:
    Lookup read(const QString& key) override
    {
        return secrets.contains(key) ? Lookup{Lookup::Status::Found, secrets.value(key)}
                                     : Lookup{Lookup::Status::Missing, {}};
    }
    bool write(const QString& key, const QString& secret) override
    {
        secrets.insert(key, secret);
        return true;
    }
    bool remove(const QString& key) override
    {
        secrets.remove(key);
        return true;
    }
    QHash<QString, QString> secrets;
};

} // namespace

// The console reads the password where the window put it, and a batch kept
// with one login is left alone by a runner with another.
TEST(SendAccount, TheConsoleUsesTheKeyringAndLeavesOtherAccountsBatchesAlone)
{
    CliSandbox cli;
    cli.addContacts(1);
    KeyringStandIn keyring;
    Account::setSecretStore(&keyring);
    ASSERT_TRUE((Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}).save(cli.folder.state.folder));
    EXPECT_EQ(Account::load(cli.folder.state.folder, nullptr).password, QString());
    EXPECT_EQ(cli.run(sendTo(QStringLiteral("Subito"))).status, cli::Done);
    EXPECT_EQ(
        cli.run(sendTo(QStringLiteral("Dopo"), {QStringLiteral("--at"), QStringLiteral("2026-03-14T10:00")}))
            .status,
        cli::Done);
    ASSERT_TRUE((Account{QStringLiteral("bruno"), QStringLiteral("b"), 2}).save(cli.folder.state.folder));
    cli.folder.clock.set(QDateTime(QDate(2026, 3, 14), QTime(10, 1)));
    const CliSandbox::Outcome run = cli.run({QStringLiteral("run-scheduled")});
    Account::setSecretStore(nullptr);
    EXPECT_EQ(run.status, cli::Done) << run.err.toStdString();
    EXPECT_EQ(cli.sent(), QStringList{number(1) + QStringLiteral("|TEXT|Subito")});
    EXPECT_TRUE(cli.run({QStringLiteral("scheduled")}).out.endsWith(QStringLiteral("\tDopo\tdemo\n")));
}

// Sending again goes only to the refused recipients: not to the accepted
// one, nor to the one whose exchange was cut after the gateway took it.
TEST(SendAgain, ResendServesOnlyTheRefused)
{
    CliSandbox cli({"--cut-after", number(1).toStdString(), "--refuse", number(2).toStdString()});
    cli.addContacts(3);
    const CliSandbox::Outcome first = cli.run(sendTo(QStringLiteral("Ciao")));
    EXPECT_TRUE(first.err.contains(QStringLiteral("parlix-cli resend --book \"Principale\" --batch 1")))
        << first.err.toStdString();
    const std::size_t requests = cli.sandbox.traceLines().size();
    const CliSandbox::Outcome again =
        cli.run({QStringLiteral("resend"), QStringLiteral("--book"), QStringLiteral("Principale"),
                 QStringLiteral("--batch"), QStringLiteral("1")});
    EXPECT_EQ(again.status, cli::Stopped) << again.err.toStdString();
    EXPECT_EQ(again.out, QStringLiteral("Rubrica Principale, invio 2: Inviati 0 di 1\n"));
    const std::vector<std::string> trace = cli.sandbox.traceLines();
    ASSERT_EQ(trace.size(), requests + 3); // credit, the one SMS, credit
    EXPECT_NE(trace.at(requests + 1).find("rcpt=%2B393330000002"), std::string::npos)
        << trace.at(requests + 1);
}
