// The PostgreSQL store against bare libpq on the same server, and against the
// SQLite store, in one run on a throwaway cluster (tests/store/pgcluster.sh):
//   a. walking a 100,000-contact book through the store's recordset, five
//      fields a row by name, against the store's own statement through libpq;
//   b. the prefix search (ContactSearch) for about 750, 5,000 and 10,000 rows,
//      against the store's own statement through libpq;
//   c. tree click to the 100,000-contact list shown and sorted, the book on
//      PostgreSQL against the same book in the SQLite files.
// The baselines read the same rows into the same QStrings. Run:
//   bench/run.sh pgstore            (build-bench/bench/app/bench_app_pgstore ab: parts a and b only)
#include "bench/support/listwindow.h"
#include "bench/support/pgcluster.h"
#include "bench/support/timing.h"
#include "bench/support/windowmain.h"
#include "contacts/contactsearch.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/query.h"
#include "store/recordset.h"
#include "store/store.h"
#include "store/transaction.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <libpq-fe.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

using namespace parlix;

namespace {

constexpr int contactCount = 100000;
const QString book = QStringLiteral("Principale");
// What the PostgreSQL store runs for a walk block and for a search, without
// the block limit: the baselines read every row in one statement.
constexpr const char* walkSql = "SELECT chiave,\"Nome\",\"cognome\",\"cellulare\",\"email\",\"icona\" FROM "
                                "\"Principale\".\"rubrica\" WHERE chiave > 0 ORDER BY chiave";
constexpr const char* searchSql = "SELECT chiave,\"Nome\",\"cognome\",\"cellulare\",\"email\",\"icona\" FROM "
                                  "\"Principale\".\"rubrica\" WHERE lower(\"cognome\") LIKE lower($1) "
                                  "ESCAPE '\\' AND chiave > 0 ORDER BY chiave";

// Surnames of the contact search bench: "Ros" about 750 rows, "Ro" 5,000, "R" 10,000.
const char* const heads[] = {"Ro", "Bi", "Ve", "Es", "Fe", "Co", "Ma", "Ri", "Ga", "Lo",
                             "Pe", "Sa", "Tu", "Ne", "Da", "Mo", "Ca", "Gi", "Fo", "Ba"};
const char* const tails[] = {"ssi", "anchi", "rdi",  "posito", "rrari", "lombo", "rino",
                             "cci", "llo",   "nti",  "sso",    "rra",   "gnoli", "netti",
                             "ldi", "ni",    "ruso", "ttini",  "ssa",   "tti"};
const char* const prefixes[] = {"Ros", "Ro", "R"};

PGconn* connect(const QString& address)
{
    PGconn* conn = PQconnectdb(address.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK)
        throw std::runtime_error(std::string("libpq: ") + PQerrorMessage(conn));
    return conn;
}

// The book filled through the store: one transaction, one recordset, AddNew
// and Update for every contact.
void fill(Store& store, const QString& path)
{
    auto db = store.open(path);
    Transaction transaction(*db);
    Recordset rs(db, queries::wholeTable(QStringLiteral("rubrica")));
    for (int i = 0; i < contactCount; ++i) {
        rs.addNew();
        rs.setField(u"Nome", QStringLiteral("Nome%1").arg(i % 977));
        rs.setField(u"cognome", QString::fromLatin1(heads[i % 20]) +
                                    QString::fromLatin1(tails[(i / 20) % 20]) + QString::number(i / 400));
        rs.setField(u"cellulare", QStringLiteral("3%1").arg(100000000 + i * 7919 % 900000000));
        rs.setField(u"email", QStringLiteral("c%1@example.it").arg(i));
        rs.setField(u"icona", QStringLiteral("4"));
        rs.update();
    }
    transaction.commit();
}

// A data folder with the initial layout; on PostgreSQL when `address` is given.
struct Folder
{
    explicit Folder(const QString& address = {}) : folder(dir.path())
    {
        if (!address.isEmpty()) {
            QFile file(folder.path(QStringLiteral("archivio")));
            if (!file.open(QIODevice::WriteOnly) || file.write(address.toUtf8() + '\n') < 0)
                throw std::runtime_error("cannot write the archivio file");
        }
        Installer(folder).run();
    }

    QTemporaryDir dir;
    DataFolder folder;
};

qsizetype walkStore(ProgramState& state)
{
    qsizetype total = 0;
    Recordset rs(state.store->open(state.folder.bookPath(book)),
                 queries::wholeTable(QStringLiteral("rubrica")));
    for (; !rs.eof(); rs.moveNext()) {
        total += rs.field(u"Nome").size() + rs.field(u"cognome").size() + rs.field(u"cellulare").size() +
                 rs.field(u"email").size() + rs.field(u"icona").size();
    }
    return total;
}

QString text(PGresult* result, int row, int column)
{
    return QString::fromUtf8(PQgetvalue(result, row, column), PQgetlength(result, row, column));
}

PGresult* checked(PGresult* result)
{
    if (PQresultStatus(result) != PGRES_TUPLES_OK && PQresultStatus(result) != PGRES_COMMAND_OK) {
        const std::string why = PQresultErrorMessage(result);
        PQclear(result);
        throw std::runtime_error("libpq: " + why);
    }
    return result;
}

qsizetype walkBare(PGconn* conn)
{
    qsizetype total = 0;
    PGresult* result = checked(PQexec(conn, walkSql));
    const int rows = PQntuples(result);
    for (int r = 0; r < rows; ++r) {
        for (int c = 1; c <= 5; ++c)
            total += text(result, r, c).size();
    }
    PQclear(result);
    return total;
}

size_t searchStore(ProgramState& state, const QString& prefix)
{
    return ContactSearch(state).find(book, SearchBoxes{prefix, {}, {}, {}}).size();
}

size_t searchBare(PGconn* conn, const QString& prefix)
{
    const QByteArray pattern = queries::likePrefix(prefix).toUtf8();
    const char* values[] = {pattern.constData()};
    PGresult* result = checked(PQexecParams(conn, searchSql, 1, nullptr, values, nullptr, nullptr, 0));
    std::vector<Contact> found;
    const int rows = PQntuples(result);
    for (int r = 0; r < rows; ++r) {
        found.push_back({text(result, r, 1), text(result, r, 2), text(result, r, 3), text(result, r, 4),
                         text(result, r, 5)});
    }
    PQclear(result);
    return found.size();
}

// Tree click to the shown, sorted list of the book, as bench_archivelist.
double showSorted(ProgramState& state, int& rows)
{
    bench::ListWindow window(state);
    const double ms = bench::medianMs(5, [&] { window.clickToBook(); });
    rows = window.rows();
    return ms;
}

int run(const std::string& parts)
{
    const auto wanted = [&](char part) { return parts.find(part) != std::string::npos; };
    bench::PgCluster cluster;
    {
        PGconn* admin = connect(cluster.address("postgres"));
        PQclear(checked(PQexec(admin, "CREATE DATABASE bench")));
        PQfinish(admin);
    }
    Folder pgFolder(cluster.address("bench"));
    ProgramState pg(pgFolder.folder);
    pg.store->prepare();
    fill(*pg.store, pgFolder.folder.bookPath(book));
    PGconn* conn = connect(cluster.address("bench"));
    PQclear(checked(PQexec(conn, "VACUUM ANALYZE")));

    qsizetype ours = 0;
    qsizetype theirs = 0;
    if (wanted('a')) {
        const auto [walk, walkBase] = bench::medianPairMs(
            9, [&] { ours = walkStore(pg); }, [&] { theirs = walkBare(conn); });
        if (ours != theirs) {
            std::printf("the two walks read different data (%lld vs %lld)\n", (long long)ours,
                        (long long)theirs);
            return 1;
        }
        bench::report("a. recordset walk, 100000 rows x 5 fields", walk, "   bare libpq, the same statement",
                      walkBase, 1.3);
    }

    for (const char* prefix : prefixes) {
        if (!wanted('b'))
            break;
        size_t found = 0;
        size_t bareFound = 0;
        const QString text = QString::fromLatin1(prefix);
        const auto [search, searchBase] = bench::medianPairMs(
            15, [&] { found = searchStore(pg, text); }, [&] { bareFound = searchBare(conn, text); });
        if (found != bareFound) {
            std::printf("the two searches found different rows (%zu vs %zu)\n", found, bareFound);
            return 1;
        }
        const std::string what =
            "b. search \"" + std::string(prefix) + "\", " + std::to_string(found) + " rows";
        bench::report(what.c_str(), search, "   bare libpq, the same statement", searchBase, 1.5);
    }
    PQfinish(conn);
    if (!wanted('c'))
        return 0;

    Folder sqliteFolder;
    ProgramState files(sqliteFolder.folder);
    fill(*files.store, sqliteFolder.folder.bookPath(book));
    int pgRows = 0;
    int fileRows = 0;
    const double shownPg = showSorted(pg, pgRows);
    const double shownFiles = showSorted(files, fileRows);
    if (pgRows != contactCount || fileRows != contactCount) {
        std::printf("the lists show %d and %d rows, not %d\n", pgRows, fileRows, contactCount);
        return 1;
    }
    bench::report("c. tree click to 100000 rows sorted, PostgreSQL", shownPg,
                  "   the same on the SQLite files", shownFiles, 1.5);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // The parts to run, "abc" when not given.
    return bench::windowMain(argc, argv, [&] { return run(argc > 1 ? argv[1] : "abc"); });
}
