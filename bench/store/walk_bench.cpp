// Walking a 100,000-contact book through the store's recordset, reading all
// five fields of every row, against a bare sqlite3 loop over the same file
// that reads the same five fields into the same QStrings. The walk is the
// forward-only one the program's whole-book readers use; the walk in blocks
// (what a cursor left half-way needs) is printed beside it. Run with
//   bench/run.sh store_walk
#include "bench/support/timing.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/statement.h"

#include <QTemporaryDir>

#include <sqlite3.h>

using namespace parlix;

namespace {

constexpr int contacts = 100000;

void fill(const QString& path)
{
    schema::createBook(path);
    auto db = Database::open(path);
    db->exec("BEGIN");
    Statement insert(*db,
                     "INSERT INTO rubrica (Nome, cognome, cellulare, email, icona) VALUES (?, ?, ?, ?, '4')");
    for (int i = 0; i < contacts; ++i) {
        insert.bind(1, QStringLiteral("Nome%1").arg(i));
        insert.bind(2, QStringLiteral("Cognome%1").arg((i * 7919) % contacts));
        insert.bind(3, QStringLiteral("333%1").arg(i, 7, 10, QLatin1Char('0')));
        insert.bind(4, QStringLiteral("persona%1@example.it").arg(i));
        insert.step();
    }
    db->exec("COMMIT");
}

qsizetype walkRecordset(const QString& path, Recordset::Reading reading)
{
    qsizetype total = 0;
    Recordset rs(Database::open(path), queries::wholeTable(QStringLiteral("rubrica")), reading);
    for (; !rs.eof(); rs.moveNext()) {
        total += rs.field(u"Nome").size() + rs.field(u"cognome").size() + rs.field(u"cellulare").size() +
                 rs.field(u"email").size() + rs.field(u"icona").size();
    }
    return total;
}

QString column(sqlite3_stmt* stmt, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                             sqlite3_column_bytes(stmt, i));
}

qsizetype walkBare(const QString& path)
{
    qsizetype total = 0;
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT Nome, cognome, cellulare, email, icona FROM rubrica", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < 5; ++i)
            total += column(stmt, i).size();
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return total;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Grande"));
    fill(path);
    qsizetype a = 0;
    qsizetype b = 0;
    qsizetype c = 0;
    // In turns, so that other work on the machine slows both alike.
    const auto [ours, bare] = bench::medianPairMs(
        15, [&] { a = walkRecordset(path, Recordset::Reading::ForwardOnly); }, [&] { b = walkBare(path); });
    const auto [blocks, bareAgain] = bench::medianPairMs(
        15, [&] { c = walkRecordset(path, Recordset::Reading::Blocks); }, [&] { b = walkBare(path); });
    if (a != b || c != b) {
        std::printf("the walks read different data (%lld, %lld vs %lld)\n", (long long)a, (long long)c,
                    (long long)b);
        return 1;
    }
    bench::report("recordset walk, 100000 rows x 5 fields", ours, "bare sqlite3 loop, same rows and fields",
                  bare, 1.2);
    std::printf("for comparison, the walk in blocks: %.2f ms against %.2f ms bare, %.2fx\n\n", blocks,
                bareAgain, blocks / bareAgain);
    return 0;
}
