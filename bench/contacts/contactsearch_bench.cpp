// Prefix search in a book of 100,000 contacts: ContactSearch (what the search
// window runs: open the book, run the prepared LIKE query, read every row)
// against the same statement through the bare sqlite3 C API on the same file,
// opening and closing it likewise. Run:
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARLIX_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_contactsearch && build-bench/bench/store/bench_contactsearch
#include "contacts/contactsearch.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/query.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/statement.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace parlix;

namespace {

constexpr int contactCount = 100'000;
const QString bookName = QStringLiteral("Grande");
// The bare side runs exactly the statement the store's recordset prepares.
constexpr const char* bareSql =
    "SELECT rowid, * FROM \"rubrica\" WHERE cognome LIKE ? ESCAPE '\\' ORDER BY rowid";

// Prefixes of growing reach: about 250, 5,000 and 10,000 rows.
const char* const prefixes[] = {"Ross", "Ro", "R"};

const char* const heads[] = {"Ro", "Bi", "Ve", "Es", "Fe", "Co", "Ma", "Ri", "Ga", "Lo",
                             "Pe", "Sa", "Tu", "Ne", "Da", "Mo", "Ca", "Gi", "Fo", "Ba"};
const char* const tails[] = {"ssi", "anchi", "rdi",  "posito", "rrari", "lombo", "rino",
                             "cci", "llo",   "nti",  "sso",    "rra",   "gnoli", "netti",
                             "ldi", "ni",    "ruso", "ttini",  "ssa",   "tti"};

struct Fixture
{
    Fixture() : state(DataFolder(dir.path()))
    {
        QDir(dir.path()).mkpath(QStringLiteral("rubriche"));
        path = state.folder.booksDir() + u'/' + bookName;
        schema::createBook(path);
        auto db = Database::open(path);
        db->exec("BEGIN");
        Statement insert(*db,
                         "INSERT INTO rubrica (Nome, cognome, cellulare, email, icona) VALUES (?,?,?,?,?)");
        for (int i = 0; i < contactCount; ++i) {
            const QString surname = QString::fromLatin1(heads[i % 20]) +
                                    QString::fromLatin1(tails[(i / 20) % 20]) + QString::number(i / 400);
            insert.bind(1, QStringLiteral("Nome%1").arg(i % 977));
            insert.bind(2, surname);
            insert.bind(3, QStringLiteral("3%1").arg(100000000 + i * 7919 % 900000000));
            insert.bind(4, QStringLiteral("c%1@example.it").arg(i));
            insert.bind(5, QStringLiteral("4"));
            insert.step();
        }
        db->exec("COMMIT");
        printPlan(db);
    }

    // The plan of the search as the store runs it (not the baseline's).
    static void printPlan(const std::shared_ptr<Database>& db)
    {
        const std::string detail =
            Recordset(db, queries::contactsBeginningWith(QStringLiteral("cognome"), QStringLiteral("Ro")))
                .queryPlan()
                .toStdString();
        std::printf("query plan of the search: %s\n", detail.c_str());
        if (detail.find("USING INDEX") == std::string::npos &&
            detail.find("USING COVERING INDEX") == std::string::npos) {
            std::fprintf(stderr, "the prefix search does not use an index\n");
            std::exit(1);
        }
    }

    QTemporaryDir dir;
    ProgramState state;
    QString path;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void contactSearch(benchmark::State& bench)
{
    Fixture& f = fixture();
    const QString prefix = QString::fromLatin1(prefixes[bench.range(0)]);
    size_t rows = 0;
    for (auto _ : bench) {
        const auto found = ContactSearch(f.state).find(bookName, SearchBoxes{prefix, {}, {}, {}});
        rows = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    bench.counters["rows"] = double(rows);
}

struct Row
{
    std::string nome, cognome, cellulare, email, icona;
};

std::string column(sqlite3_stmt* st, int i)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return text ? std::string(text, size_t(sqlite3_column_bytes(st, i))) : std::string();
}

void bareSqlite(benchmark::State& bench)
{
    Fixture& f = fixture();
    const QByteArray file = QFile::encodeName(f.path);
    const QByteArray pattern = queries::likePrefix(QString::fromLatin1(prefixes[bench.range(0)])).toUtf8();
    size_t rows = 0;
    for (auto _ : bench) {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            bench.SkipWithError("open failed");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, bareSql, -1, &st, nullptr);
        sqlite3_bind_text(st, 1, pattern.constData(), int(pattern.size()), SQLITE_TRANSIENT);
        std::vector<Row> found;
        while (sqlite3_step(st) == SQLITE_ROW)
            found.push_back({column(st, 1), column(st, 2), column(st, 3), column(st, 4), column(st, 5)});
        rows = found.size();
        benchmark::DoNotOptimize(found.data());
        sqlite3_finalize(st);
        sqlite3_close_v2(db);
    }
    bench.counters["rows"] = double(rows);
}

} // namespace

BENCHMARK(bareSqlite)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(contactSearch)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
