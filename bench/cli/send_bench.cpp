// Sends one batch to the 10,000 contacts of a book through "parlix-cli send"
// against qwirl-sandbox, twice in the same run: once a text without fields
// (the baseline) and once the same text with {Nome} and {Cognome}, so every
// recipient gets a text of its own. Each run has a fresh data folder.

#include "../support/timing.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "sandbox_process.h"
#include "sending/account.h"
#include "store/database.h"
#include "store/statement.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

using namespace parlix;

namespace {

constexpr int Recipients = 10000;

// A data folder whose Principale holds the contacts and whose account is the sandbox's.
void prepare(const QString& home)
{
    const DataFolder folder(home);
    Installer(folder).run();
    Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}.save(folder);
    const auto db = Database::open(folder.bookPath(QStringLiteral("Principale")));
    db->exec("BEGIN");
    Statement insert(
        *db, "INSERT INTO rubrica (Nome, cognome, cellulare, email, icona) VALUES (?, ?, ?, ' ', '4')");
    for (int i = 1; i <= Recipients; ++i) {
        insert.bind(1, QStringLiteral("Nome%1").arg(i));
        insert.bind(2, QStringLiteral("Cognome%1").arg(i));
        insert.bind(3, QStringLiteral("33%1").arg(i, 8, 10, QChar(u'0')));
        insert.step();
    }
    db->exec("COMMIT");
}

double sendMs(const qwirl::testing::SandboxProcess& sandbox, const QString& text)
{
    QTemporaryDir dir;
    prepare(dir.path());
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QWIRL_SEND_HOST"), QString::fromStdString(sandbox.host()));
    cli.setProcessEnvironment(environment);
    cli.setProcessChannelMode(QProcess::SeparateChannels);
    cli.setStandardErrorFile(QProcess::nullDevice());
    const auto start = std::chrono::steady_clock::now();
    cli.start(QStringLiteral(PARLIX_CLI),
              {QStringLiteral("--home"), dir.path(), QStringLiteral("send"), QStringLiteral("--book"),
               QStringLiteral("Principale"), QStringLiteral("--text"), text});
    cli.waitForFinished(-1);
    const auto end = std::chrono::steady_clock::now();
    std::printf("  %s", cli.readAllStandardOutput().constData());
    if (cli.exitCode() != 0)
        std::printf("  exit %d\n", cli.exitCode());
    return std::chrono::duration<double, std::milli>(end - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qwirl::testing::SandboxProcess sandbox({"--credit", "1000000"});
    const double plain = sendMs(sandbox, QStringLiteral("Buone feste da tutti noi, a presto!"));
    const double personalised = sendMs(sandbox, QStringLiteral("Buone feste {Nome} {Cognome}, a presto!"));
    bench::report("10,000 personalised through parlix-cli send", personalised,
                  "the same batch without fields", plain, 1.2);
    return 0;
}
