// Tree click to a book of 1,000,000 contacts, shown sorted by surname, on the
// SQLite files and on PostgreSQL (a throwaway cluster, tests/store/pgcluster.sh),
// against the baseline measured in the same run: a bare QTableView over a
// vector-backed table model filled from the same store in one read and
// sorted by the same column. Each is measured in a process of its own, so
// that the peak RSS printed is that program's alone. Run:
//   bench/run.sh millionlist
// Targets: SQLite at most 500 ms and 150 MB peak RSS; PostgreSQL at most 1000 ms.
#include "bench/support/baretable.h"
#include "bench/support/listwindow.h"
#include "bench/support/pgcluster.h"
#include "bench/support/timing.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "store/store.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sys/resource.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

using namespace parlix;

namespace {

constexpr int contactCount = 1000000;
const QString book = QStringLiteral("Principale");

void runPg(const QString& address, const char* sql)
{
    PGconn* conn = PQconnectdb(address.toUtf8().constData());
    PGresult* result = PQexec(conn, sql);
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
    const std::string why = PQerrorMessage(conn);
    PQclear(result);
    PQfinish(conn);
    if (!ok)
        throw std::runtime_error("libpq: " + why);
}

// A data folder with the initial layout; on PostgreSQL when `address` is given.
QString makeFolder(const QString& path, const QString& address)
{
    if (!address.isEmpty()) {
        QFile file(path + QStringLiteral("/archivio"));
        if (!file.open(QIODevice::WriteOnly) || file.write(address.toUtf8() + '\n') < 0)
            throw std::runtime_error("cannot write the archivio file");
    }
    Installer(DataFolder(path)).run();
    if (!address.isEmpty())
        ProgramState(DataFolder(path)).store->prepare();
    return path;
}

// Rows of the same kind on the server (surnames in no order), made by the server itself.
void fillPostgres(const QString& address)
{
    runPg(address,
          "INSERT INTO \"Principale\".rubrica (\"Nome\", cognome, cellulare, email, icona)"
          " SELECT 'Nome' || i, chr(65 + ((i::bigint * 7919) % 26)::int) || substr(md5(i::text), 1, 7),"
          " '33' || (1000000 + i), 'utente' || i || '@example.it', '4'"
          " FROM generate_series(0, 999999) AS i");
    runPg(address, "VACUUM ANALYZE");
}

using bench::BareModel;

std::vector<BareModel::Row> readPostgres(const QString& address)
{
    PGconn* conn = PQconnectdb(address.toUtf8().constData());
    PGresult* result = PQexec(conn, "SELECT cellulare, \"Nome\", cognome, email FROM \"Principale\".rubrica");
    std::vector<BareModel::Row> rows;
    for (int r = 0; r < PQntuples(result); ++r) {
        BareModel::Row row;
        for (int c = 0; c < 4; ++c)
            row[size_t(c)] = QString::fromUtf8(PQgetvalue(result, r, c), PQgetlength(result, r, c));
        rows.push_back(std::move(row));
    }
    PQclear(result);
    PQfinish(conn);
    return rows;
}

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One measurement in this process: "<ms> <rows> <peak kB>" on the output.
int measure(const QString& what, const QString& folderPath)
{
    double ms = 0;
    int rows = 0;
    QFile archivio(folderPath + QStringLiteral("/archivio"));
    const QString address =
        archivio.open(QIODevice::ReadOnly) ? QString::fromUtf8(archivio.readAll()).trimmed() : QString();
    if (what == u"parlix") {
        ProgramState state{DataFolder(folderPath)};
        bench::ListWindow window(state);
        ms = bench::medianMs(5, [&] { window.clickToBook(); });
        rows = window.rows();
    } else {
        bench::BareView view;
        const QString path = DataFolder(folderPath).bookPath(book);
        ms = bench::medianMs(5, [&] {
            view.show([&] { return address.isEmpty() ? bench::readBareRows(path) : readPostgres(address); });
        });
        rows = view.rows();
    }
    std::printf("%.2f %d %ld\n", ms, rows, peakKb());
    return 0;
}

struct Figures
{
    double ms = 0;
    int rows = 0;
    double peakMb = 0;
};

Figures inChild(const char* what, const QString& folderPath)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--measure"), QString::fromLatin1(what), folderPath});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        throw std::runtime_error(std::string("the measuring process failed: ") + what);
    const QStringList parts = QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(u' ');
    if (parts.size() != 3)
        throw std::runtime_error("the measuring process said nothing");
    return {parts[0].toDouble(), parts[1].toInt(), parts[2].toDouble() / 1024};
}

void compare(const char* store, const QString& folderPath, double limitMs, double limitMb)
{
    const Figures ours = inChild("parlix", folderPath);
    const Figures bare = inChild("bare", folderPath);
    std::printf("%s, tree click to %d contacts shown sorted:\n"
                "  Parlix list                 %9.2f ms, peak RSS %7.1f MB\n"
                "  bare QTableView, one read   %9.2f ms, peak RSS %7.1f MB (%d rows)\n"
                "  ratio %.3fx; target %.0f ms: %s",
                store, ours.rows, ours.ms, ours.peakMb, bare.ms, bare.peakMb, bare.rows, ours.ms / bare.ms,
                limitMs, ours.ms <= limitMs ? "met" : "NOT met");
    if (limitMb > 0)
        std::printf(", %.0f MB: %s", limitMb, ours.peakMb <= limitMb ? "met" : "NOT met");
    std::printf("\n\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 4 && args[1] == u"--measure")
            return measure(args[2], args[3]);
        // "postgres" as the only argument measures PostgreSQL alone.
        if (args.size() < 2 || args[1] != u"postgres") {
            QTemporaryDir files;
            bench::fillShuffledBook(DataFolder(makeFolder(files.path(), {})).bookPath(book), contactCount);
            compare("SQLite", files.path(), 500, 150);
        }
        bench::PgCluster cluster;
        runPg(cluster.address("postgres"), "CREATE DATABASE bench");
        QTemporaryDir shared;
        makeFolder(shared.path(), cluster.address("bench"));
        fillPostgres(cluster.address("bench"));
        compare("PostgreSQL", shared.path(), 1000, 0);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
