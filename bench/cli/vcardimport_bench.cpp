// vCard import of 100,000 cards: `parlix-cli import-vcard` against
// `parlix-cli import-csv` of the same contacts, both whole processes, run in
// turns on fresh data folders made before the clock starts. The cards are as
// phones and webmail write them (N, FN, two numbers, an e-mail, a group, a
// note). The peak memory of the vCard import is reported for this file and
// for one four times as large: a reader that holds the file grows with it.
// Run with
//   bench/run.sh vcard
#include "bench/support/timing.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int contactCount = 100'000;
constexpr int runs = 5;

struct Person
{
    QByteArray nome, cognome, number, email;
};

Person person(int i)
{
    return {"Nome" + QByteArray::number(i % 977), "Cognome" + QByteArray::number(i),
            "3" + QByteArray::number(100000000 + i * 7919 % 900000000),
            "c" + QByteArray::number(i) + "@example.it"};
}

// The files are written as they are made: the benchmark stays small, since a
// program it starts counts its memory from the benchmark's own (the child
// shares it until it runs the program).
class Output
{
public:
    explicit Output(const QString& path) : file_(path)
    {
        if (!file_.open(QIODevice::WriteOnly))
            std::exit(1);
    }
    void operator+=(const QByteArray& bytes)
    {
        if (file_.write(bytes) != bytes.size())
            std::exit(1);
    }

private:
    QFile file_;
};

void writeCsv(const QString& path)
{
    Output text(path);
    text += "Nome;Cognome;Cellulare;Posta elettronica\r\n";
    for (int i = 0; i < contactCount; ++i) {
        const Person p = person(i);
        text += p.nome + ';' + p.cognome + ';' + p.number + ';' + p.email + "\r\n";
    }
}

void writeVcard(const QString& path, int count)
{
    Output text(path);
    for (int i = 0; i < count; ++i) {
        const Person p = person(i);
        text += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + p.cognome + ';' + p.nome + ";;;\r\nFN:" + p.nome + ' ' +
                p.cognome + "\r\nTEL;TYPE=HOME,VOICE:+39 06 5551234\r\nitem1.TEL;TYPE=CELL:+39 " + p.number +
                "\r\nitem1.X-ABLabel:Cellulare\r\nEMAIL;TYPE=INTERNET:" + p.email +
                "\r\nNOTE:Cliente dal 2019\\, preferisce essere contattato di sera\r\nEND:VCARD\r\n";
    }
}

struct Run
{
    double ms;
    long peakKiB;
};

// Runs the program to its end; dies unless it exits 0.
Run runOrDie(const std::vector<QByteArray>& words)
{
    std::vector<char*> argv;
    for (const QByteArray& word : words)
        argv.push_back(const_cast<char*>(word.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 0;
    rusage usage = {};
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0 ||
        wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return {ms, usage.ru_maxrss};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QByteArray cli = PARLIX_CLI;
    const QByteArray csv = dir.filePath(QStringLiteral("contatti.csv")).toUtf8();
    const QByteArray vcf = dir.filePath(QStringLiteral("contatti.vcf")).toUtf8();
    const QByteArray large = dir.filePath(QStringLiteral("grande.vcf")).toUtf8();
    writeCsv(QString::fromUtf8(csv));
    writeVcard(QString::fromUtf8(vcf), contactCount);
    writeVcard(QString::fromUtf8(large), 4 * contactCount);
    auto home = [&](const char* kind, int run) {
        return dir.filePath(QStringLiteral("%1%2").arg(QLatin1String(kind)).arg(run)).toUtf8();
    };

    std::vector<double> csvTimes, vcardTimes;
    long peak = 0;
    long csvPeak = 0;
    for (int run = 0; run < runs; ++run) {
        runOrDie({cli, "--home", home("csv", run), "books"});
        runOrDie({cli, "--home", home("vcf", run), "books"});
        const Run csvRun = runOrDie({cli, "--home", home("csv", run), "import-csv", csv});
        csvTimes.push_back(csvRun.ms);
        csvPeak = std::max(csvPeak, csvRun.peakKiB);
        const Run vcard = runOrDie({cli, "--home", home("vcf", run), "import-vcard", vcf});
        vcardTimes.push_back(vcard.ms);
        peak = std::max(peak, vcard.peakKiB);
    }
    runOrDie({cli, "--home", home("large", 0), "books"});
    const Run fourTimes = runOrDie({cli, "--home", home("large", 0), "import-vcard", large});

    std::printf("file sizes: csv %lld KiB, vCard %lld KiB, large vCard %lld KiB\n",
                QFile(QString::fromUtf8(csv)).size() / 1024, QFile(QString::fromUtf8(vcf)).size() / 1024,
                QFile(QString::fromUtf8(large)).size() / 1024);
    std::printf("peak memory: import-vcard %ld KiB for 100,000 cards, %ld KiB for 400,000 (%.0f ms); "
                "import-csv %ld KiB\n",
                peak, fourTimes.peakKiB, fourTimes.ms, csvPeak);
    parlix::bench::report("parlix-cli import-vcard, 100,000 cards", median(vcardTimes),
                          "parlix-cli import-csv, the same contacts", median(csvTimes), 3.0);
    return 0;
}
