// CSV import of 100,000 contacts: `parlix-cli import-csv` (a whole process:
// start, read the file, write the rows in one transaction) against the sqlite3
// shell's `.import` of the same file into a fresh copy of the same book
// template (same table, same indexes), also a whole process. Each run starts
// from a fresh data folder made before the clock starts. Run with
//   bench/run.sh csvimport
#include "bench/support/timing.h"
#include "store/database.h"
#include "store/statement.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace parlix;

namespace {

constexpr int contactCount = 100'000;
constexpr int runs = 5;

void writeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::exit(1);
    QByteArray text = "Nome;Cognome;Cellulare;Posta elettronica\r\n";
    for (int i = 0; i < contactCount; ++i) {
        text += "Nome" + QByteArray::number(i % 977) + ";Cognome" + QByteArray::number(i) + ";3" +
                QByteArray::number(100000000 + i * 7919 % 900000000) + ";c" + QByteArray::number(i) +
                "@example.it\r\n";
    }
    file.write(text);
}

void runOrDie(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(600'000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        std::exit(1);
    }
}

long long rowsIn(const QString& path)
{
    auto db = Database::open(path);
    Statement count(*db, "SELECT count(*) FROM rubrica");
    count.step();
    return count.integer(0);
}

// The median of `runs` timings of `work`, each after an untimed `setup`.
double medianOf(const std::function<void(int)>& setup, const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        setup(i);
        QElapsedTimer clock;
        clock.start();
        work(i);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    const QString sqlite = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite.isEmpty()) {
        std::fprintf(stderr, "the sqlite3 shell is missing (Debian package sqlite3)\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("contatti.csv"));
    writeFile(file);
    const QString cli = QStringLiteral(PARLIX_CLI);
    auto home = [&](int run) { return dir.filePath(QStringLiteral("home%1").arg(run)); };
    auto bare = [&](int run) { return dir.filePath(QStringLiteral("bare%1.db").arg(run)); };

    const double measured = medianOf(
        [&](int run) {
            runOrDie(cli, {QStringLiteral("--home"), home(run), QStringLiteral("books")});
        },
        [&](int run) {
            runOrDie(cli, {QStringLiteral("--home"), home(run), QStringLiteral("import-csv"), file});
        });
    const double base = medianOf(
        [&](int run) { QFile::copy(home(run) + QStringLiteral("/rubrica_base.mdb"), bare(run)); },
        [&](int run) {
            // The file has four columns and the table five: sqlite3 fills icona
            // with NULL and says so on stderr for every row; that goes nowhere.
            QProcess process;
            process.setStandardErrorFile(QProcess::nullDevice());
            process.start(sqlite, {bare(run), QStringLiteral(".separator ;"),
                                   QStringLiteral(".import --skip 1 ") + file + QStringLiteral(" rubrica")});
            process.waitForFinished(600'000);
        });

    const long long imported = rowsIn(home(0) + QStringLiteral("/rubriche/Principale"));
    const long long baseline = rowsIn(bare(0));
    std::printf("rows: parlix-cli %lld, sqlite3 .import %lld\n", imported, baseline);
    if (imported != contactCount || baseline != contactCount)
        return 1;
    bench::report("parlix-cli import-csv, 100,000 contacts", measured, "sqlite3 .import of the same file",
                  base, 2.0);
    return 0;
}
