// Tree click to a book of 1,000,000 contacts, shown sorted by surname, on the
// SQLite files and on PostgreSQL (a throwaway cluster, tests/store/pgcluster.sh),
// against the baseline measured in the same run: a bare QTableView over a
// vector-backed table model filled from the same store in one read and
// sorted by the same column. Each is measured in a process of its own, so
// that the peak RSS printed is that program's alone. Run:
//   bench/run.sh millionlist
// Targets: SQLite at most 500 ms and 150 MB peak RSS; PostgreSQL at most 1000 ms.
#include "app/mainwindow.h"
#include "bench/support/silentdialogs.h"
#include "bench/support/timing.h"
#include "browser/archivelist.h"
#include "core/clock.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/statement.h"
#include "store/store.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace parlix;

namespace {

constexpr int contactCount = 1000000;
const QString book = QStringLiteral("Principale");

// The throwaway cluster, stopped however the run ends.
class Cluster
{
public:
    Cluster() : pointer_(dir_.filePath(QStringLiteral("conninfo")))
    {
        if (std::system(command("start").c_str()) != 0)
            throw std::runtime_error("the PostgreSQL cluster did not start");
        QFile file(pointer_);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("the PostgreSQL cluster left no connection string");
        address_ = QString::fromUtf8(file.readAll()).trimmed();
    }
    ~Cluster() { std::system(command("stop").c_str()); }
    Cluster(const Cluster&) = delete;
    Cluster& operator=(const Cluster&) = delete;

    QString address(const char* database) const
    {
        return address_ + QStringLiteral(" dbname=") + QString::fromLatin1(database);
    }

private:
    std::string command(const char* what) const
    {
        return std::string(PARLIX_PGCLUSTER_SCRIPT) + ' ' + what + " '" + pointer_.toStdString() + '\'';
    }

    QTemporaryDir dir_;
    QString pointer_;
    QString address_;
};

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

// Shuffled surnames of eight letters, through the store in one transaction.
void fillFiles(const QString& path)
{
    auto db = Database::open(path);
    db->exec("BEGIN");
    Statement insert(
        *db, "INSERT INTO rubrica (\"Nome\", cognome, cellulare, email, icona) VALUES (?, ?, ?, ?, '4')");
    std::mt19937 random(42);
    std::uniform_int_distribution<int> letter(0, 25);
    for (int i = 0; i < contactCount; ++i) {
        QString surname;
        for (int c = 0; c < 8; ++c)
            surname += QChar(char16_t((c == 0 ? u'A' : u'a') + letter(random)));
        insert.bind(1, QStringLiteral("Nome%1").arg(i));
        insert.bind(2, surname);
        insert.bind(3, QStringLiteral("33%1").arg(1000000 + i));
        insert.bind(4, QStringLiteral("utente%1@example.it").arg(i));
        insert.step();
        insert.reset();
    }
    db->exec("COMMIT");
}

// The same on the server, made by the server itself.
void fillPostgres(const QString& address)
{
    runPg(address,
          "INSERT INTO \"Principale\".rubrica (\"Nome\", cognome, cellulare, email, icona)"
          " SELECT 'Nome' || i, chr(65 + ((i::bigint * 7919) % 26)::int) || substr(md5(i::text), 1, 7),"
          " '33' || (1000000 + i), 'utente' || i || '@example.it', '4'"
          " FROM generate_series(0, 999999) AS i");
    runPg(address, "VACUUM ANALYZE");
}

class BareModel : public QAbstractTableModel
{
public:
    using Row = std::array<QString, 4>;

    void fill(std::vector<Row> rows)
    {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    int rowCount(const QModelIndex& = {}) const override { return int(rows_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return 4; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return rows_[size_t(index.row())][size_t(index.column())];
    }
    void sort(int column, Qt::SortOrder) override
    {
        emit layoutAboutToBeChanged();
        std::stable_sort(rows_.begin(), rows_.end(), [column](const Row& a, const Row& b) {
            return QString::compare(a[size_t(column)], b[size_t(column)], Qt::CaseInsensitive) < 0;
        });
        emit layoutChanged();
    }

private:
    std::vector<Row> rows_;
};

std::vector<BareModel::Row> readFiles(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT cellulare, Nome, cognome, email FROM rubrica", -1, &stmt, nullptr);
    std::vector<BareModel::Row> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        BareModel::Row row;
        for (int c = 0; c < 4; ++c)
            row[size_t(c)] = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                               sqlite3_column_bytes(stmt, c));
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

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
        bench::SilentDialogs dialogs;
        Clock clock;
        MainWindow window(AppContext{state, dialogs, clock});
        window.resize(1100, 700);
        window.load();
        window.show();
        ArchiveList& list = *window.archiveList();
        const auto settle = [&] {
            while (list.reloadPending())
                QApplication::processEvents();
            list.repaint();
            QApplication::processEvents();
        };
        settle();
        ms = bench::medianMs(5, [&] {
            window.clickNode(3); // the group node "SMS Salvati": the list empties
            settle();
            window.clickNode(2); // "Principale" under "Rubriche"
            settle();
        });
        rows = list.rowCount();
    } else {
        BareModel model;
        QTableView view;
        view.setModel(&model);
        view.resize(900, 600);
        view.show();
        QApplication::processEvents();
        const QString path = DataFolder(folderPath).bookPath(book);
        ms = bench::medianMs(5, [&] {
            model.fill({});
            model.fill(address.isEmpty() ? readFiles(path) : readPostgres(address));
            view.sortByColumn(2, Qt::AscendingOrder);
            view.repaint();
            QApplication::processEvents();
        });
        rows = model.rowCount();
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
            fillFiles(DataFolder(makeFolder(files.path(), {})).bookPath(book));
            compare("SQLite", files.path(), 500, 150);
        }
        Cluster cluster;
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
