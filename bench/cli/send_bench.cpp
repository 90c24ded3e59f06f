// Sends batches through parlix-cli against qwirl-sandbox, each on a fresh
// data folder: 1,000 recipients through "send" and through "run-scheduled"
// against a bare qwirl::Control loop over the same numbers, in turns, the
// median of several rounds of each; 10,000 with
// {Nome} and {Cognome} against the same batch without fields; and the peak
// memory of "send" to 100,000 recipients.

#include "../support/timing.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "sandbox_process.h"
#include "sending/account.h"
#include "store/database.h"
#include "store/statement.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <qwirl/control.h>
#include <qwirl/hosts.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <vector>

using namespace parlix;

namespace {

// A data folder whose Principale holds the contacts and whose account is the sandbox's.
void prepare(const QString& home, int recipients)
{
    const DataFolder folder(home);
    Installer(folder).run();
    Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}.save(folder);
    const auto db = Database::open(folder.bookPath(QStringLiteral("Principale")));
    db->exec("BEGIN");
    Statement insert(
        *db, "INSERT INTO rubrica (Nome, cognome, cellulare, email, icona) VALUES (?, ?, ?, ' ', '4')");
    for (int i = 1; i <= recipients; ++i) {
        insert.bind(1, QStringLiteral("Nome%1").arg(i));
        insert.bind(2, QStringLiteral("Cognome%1").arg(i));
        insert.bind(3, QStringLiteral("33%1").arg(i, 8, 10, QChar(u'0')));
        insert.step();
    }
    db->exec("COMMIT");
}

QString number(int i)
{
    return QStringLiteral("33%1").arg(i, 8, 10, QChar(u'0'));
}

struct Run
{
    double ms = 0;
    long peakKb = 0; // the command's own peak resident memory
};

// Runs parlix-cli with `arguments` on the folder `home`, timed, with its own peak memory.
Run runCli(const qwirl::testing::SandboxProcess& sandbox, const QString& home, const QStringList& arguments)
{
    const std::string host = sandbox.host();
    std::vector<std::string> words{PARLIX_CLI, "--home", home.toStdString()};
    for (const QString& word : arguments)
        words.push_back(word.toStdString());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setenv("QWIRL_SEND_HOST", host.c_str(), 1);
        std::freopen("/dev/null", "w", stderr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage = {};
    wait4(child, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::printf("  %s: exit %d\n", qPrintable(arguments.join(u' ')), WEXITSTATUS(status));
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

double sendMs(const qwirl::testing::SandboxProcess& sandbox, const QString& text, int recipients)
{
    QTemporaryDir dir;
    prepare(dir.path(), recipients);
    return runCli(sandbox, dir.path(),
                  {QStringLiteral("send"), QStringLiteral("--book"), QStringLiteral("Principale"),
                   QStringLiteral("--text"), text})
        .ms;
}

double runScheduledMs(const qwirl::testing::SandboxProcess& sandbox, const QString& text, int recipients)
{
    QTemporaryDir dir;
    prepare(dir.path(), recipients);
    const QString soon =
        QDateTime::currentDateTime().addSecs(60).toString(QStringLiteral("yyyy-MM-ddTHH:mm"));
    runCli(sandbox, dir.path(),
           {QStringLiteral("send"), QStringLiteral("--book"), QStringLiteral("Principale"),
            QStringLiteral("--text"), text, QStringLiteral("--at"), soon});
    // The batch is due once its minute has come: the clock is not waited for,
    // the batch's time is moved into the past.
    {
        const auto db = Database::open(DataFolder(dir.path()).bookPath(QStringLiteral("Principale")));
        db->exec("UPDATE programmati SET Quando = '2000-01-01T00:00:00Z'");
    }
    return runCli(sandbox, dir.path(), {QStringLiteral("run-scheduled")}).ms;
}

double bareLoopMs(const qwirl::testing::SandboxProcess& sandbox, const std::string& text, int recipients)
{
    qwirl::Control control(qwirl::Hosts::both(sandbox.host()));
    control.setLogin("demo");
    control.setPassword("demo");
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i <= recipients; ++i) {
        if (control.Send((QStringLiteral("+39") + number(i)).toStdString(), std::string_view(text)) != 0)
            std::fprintf(stderr, "bare loop: an SMS was refused\n");
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qwirl::testing::SandboxProcess sandbox({"--credit", "100000000"});
    const QString text = QStringLiteral("Buone feste da tutti noi, a presto!");
    // Each path and the bare loop take turns, so that a machine busy with
    // other work slows all alike; the medians are compared.
    constexpr int rounds = 9;
    std::vector<double> bare, send, scheduled, start;
    for (int round = 0; round < rounds; ++round) {
        start.push_back(runCli(sandbox, QDir::tempPath(), {QStringLiteral("--version")}).ms);
        bare.push_back(bareLoopMs(sandbox, text.toStdString(), 1000));
        send.push_back(sendMs(sandbox, text, 1000));
        scheduled.push_back(runScheduledMs(sandbox, text, 1000));
        std::printf("round %d: bare loop %.1f ms, send %.1f ms, run-scheduled %.1f ms\n", round + 1,
                    bare.back(), send.back(), scheduled.back());
    }
    std::printf("medians of %d rounds:\n", rounds);
    bench::report("1,000 through parlix-cli send", bench::median(send), "bare qwirl::Control loop",
                  bench::median(bare), 1.15);
    bench::report("1,000 through parlix-cli run-scheduled", bench::median(scheduled),
                  "bare qwirl::Control loop", bench::median(bare), 1.15);
    // What the console pays before any work, which the bare loop, run inside
    // this process, does not: loading the program and its libraries.
    std::printf("of which starting parlix-cli (--version): %.2f ms\n\n", bench::median(start));

    const double plain = sendMs(sandbox, text, 10000);
    const double personalised =
        sendMs(sandbox, QStringLiteral("Buone feste {Nome} {Cognome}, a presto!"), 10000);
    bench::report("10,000 personalised through parlix-cli send", personalised,
                  "the same batch without fields", plain, 1.2);

    QTemporaryDir dir;
    prepare(dir.path(), 100000);
    const Run big = runCli(sandbox, dir.path(),
                           {QStringLiteral("send"), QStringLiteral("--book"), QStringLiteral("Principale"),
                            QStringLiteral("--text"), text});
    std::printf(
        "100,000 through parlix-cli send: %.0f ms, peak resident memory %.1f MB (target at most 64 MB): "
        "%s\n",
        big.ms, double(big.peakKb) / 1024.0, big.peakKb <= 64 * 1024 ? "met" : "MISSED");
    return 0;
}
