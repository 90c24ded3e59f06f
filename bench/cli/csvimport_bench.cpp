// CSV import and export through `parlix-cli` (each a whole process: start,
// read, write the rows in one transaction), against the sqlite3 shell's
// `.import` of the same file into a fresh copy of the same book template
// (same table, same indexes), also a whole process; 100,000 and 1,000,000
// contacts. Each run starts from a fresh data folder made before the clock
// starts. The peak memory of each parlix-cli run is that of its process; the
// import of 1,000,000 rows, their export and a 100 MB file of one line must
// each stay within 64 MB. Run with
//   bench/run.sh csvimport
#include "bench/support/timing.h"
#include "store/database.h"
#include "store/statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

using namespace parlix;

namespace {

constexpr long memoryLimitKiB = 64 * 1024;

void writeFile(const QString& path, int contacts)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::exit(1);
    QByteArray text = "Nome;Cognome;Cellulare;Posta elettronica\r\n";
    for (int i = 0; i < contacts; ++i) {
        text += "Nome" + QByteArray::number(i % 977) + ";Cognome" + QByteArray::number(i) + ";3" +
                QByteArray::number(100000000 + qint64(i) * 7919 % 900000000) + ";c" + QByteArray::number(i) +
                "@example.it\r\n";
        if (text.size() > (1 << 20)) {
            file.write(text);
            text.clear();
        }
    }
    file.write(text);
}

struct Run
{
    double ms = 0;
    long peakKiB = 0;
    int exitCode = 0;
};

// Runs a program to its end, its standard output (and error, when `quiet`)
// thrown away.
Run spawn(const QStringList& words, bool quiet = false)
{
    std::vector<QByteArray> bytes;
    for (const QString& word : words)
        bytes.push_back(QFile::encodeName(word));
    std::vector<char*> argv;
    for (QByteArray& word : bytes)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 0;
    rusage usage = {};
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0 ||
        wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status)) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return {ms, usage.ru_maxrss, WEXITSTATUS(status)};
}

Run spawnOrDie(const QStringList& words, bool quiet = false)
{
    const Run run = spawn(words, quiet);
    if (run.exitCode != 0) {
        std::fprintf(stderr, "%s exited with %d\n", qPrintable(words.join(u' ')), run.exitCode);
        std::exit(1);
    }
    return run;
}

long long rowsIn(const QString& path)
{
    auto db = Database::open(path);
    Statement count(*db, "SELECT count(*) FROM rubrica");
    count.step();
    return count.integer(0);
}

// The median time and the highest peak of `runs` runs of `work`, each after an untimed `setup`.
Run medianOf(int runs, const std::function<void(int)>& setup, const std::function<Run(int)>& work)
{
    std::vector<double> times;
    long peak = 0;
    for (int i = 0; i < runs; ++i) {
        setup(i);
        const Run run = work(i);
        times.push_back(run.ms);
        peak = std::max(peak, run.peakKiB);
    }
    return {bench::median(times), peak, 0};
}

void memoryLine(const char* what, long peakKiB)
{
    const bool met = peakKiB <= memoryLimitKiB;
    std::printf("peak memory, %-40s %6ld KiB (target at most %ld KiB): %s\n", what, peakKiB, memoryLimitKiB,
                met ? "met" : "NOT met");
}

} // namespace

int main()
{
    const QString sqlite = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite.isEmpty()) {
        std::fprintf(stderr, "the sqlite3 shell is missing (Debian package sqlite3)\n");
        return 1;
    }
    const QString cli = QStringLiteral(PARLIX_CLI);
    struct Size
    {
        int contacts;
        int runs;
        double limit;
        const char* what;
    } sizes[] = {{100'000, 5, 1.5, "100,000"}, {1'000'000, 3, 1.5, "1,000,000"}};
    for (const Size& size : sizes) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("contatti.csv"));
        writeFile(file, size.contacts);
        auto home = [&](int run) { return dir.filePath(QStringLiteral("home%1").arg(run)); };
        auto bare = [&](int run) { return dir.filePath(QStringLiteral("bare%1.db").arg(run)); };

        const Run measured = medianOf(
            size.runs,
            [&](int run) {
                spawnOrDie({cli, QStringLiteral("--home"), home(run), QStringLiteral("books")});
            },
            [&](int run) {
                return spawnOrDie(
                    {cli, QStringLiteral("--home"), home(run), QStringLiteral("import-csv"), file});
            });
        // The file has four columns and the table five: sqlite3 fills icona
        // with NULL and says so on stderr for every row; that goes nowhere.
        const Run base = medianOf(
            size.runs,
            [&](int run) { QFile::copy(home(run) + QStringLiteral("/rubrica_base.mdb"), bare(run)); },
            [&](int run) {
                return spawn({sqlite, bare(run), QStringLiteral(".separator ;"),
                              QStringLiteral(".import --skip 1 ") + file + QStringLiteral(" rubrica")},
                             true);
            });

        const long long imported = rowsIn(home(0) + QStringLiteral("/rubriche/Principale"));
        const long long baseline = rowsIn(bare(0));
        std::printf("rows: parlix-cli %lld, sqlite3 .import %lld\n", imported, baseline);
        if (imported != size.contacts || baseline != size.contacts)
            return 1;
        const QByteArray what = QByteArray("parlix-cli import-csv, ") + size.what + " contacts";
        bench::report(what.constData(), measured.ms, "sqlite3 .import of the same file", base.ms, size.limit);
        const QByteArray memory = QByteArray("import-csv of ") + size.what + " rows";
        memoryLine(memory.constData(), measured.peakKiB);

        if (size.contacts == 1'000'000) {
            const QString out = dir.filePath(QStringLiteral("uscita.csv"));
            const Run exported =
                spawnOrDie({cli, QStringLiteral("--home"), home(0), QStringLiteral("export-csv"), out});
            std::printf("export-csv of 1,000,000 rows: %.0f ms, %lld bytes\n", exported.ms,
                        QFileInfo(out).size());
            memoryLine("export-csv of 1,000,000 rows", exported.peakKiB);
        }
    }

    // One line of 100 MB: refused, in bounded memory.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("riga.csv"));
    {
        QFile line(file);
        if (!line.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray block(1 << 20, 'x');
        for (int i = 0; i < 100; ++i)
            line.write(block);
    }
    const QString home = dir.filePath(QStringLiteral("home"));
    spawnOrDie({cli, QStringLiteral("--home"), home, QStringLiteral("books")});
    const Run oneLine =
        spawn({cli, QStringLiteral("--home"), home, QStringLiteral("import-csv"), file}, true);
    std::printf("import-csv of a 100 MB file of one line: exit %d in %.0f ms\n", oneLine.exitCode,
                oneLine.ms);
    memoryLine("import-csv of a 100 MB line", oneLine.peakKiB);
    return 0;
}
