// Ericsoft import of a register of 50,000 customers spread over 100 market
// codes, into a data folder whose 100 "Mercato-" books exist and are empty:
// EricsoftImport (one pass: every book's numbers read into a set, the rows of
// each book written in one transaction) against the bare work of reading the
// same DBF with shapelib, keeping the digits of the number and inserting the
// rows through the sqlite3 C API in one transaction per book, with no
// duplicate test. Each run starts from a fresh copy of the data folder made
// before the clock starts. Run with
//   bench/run.sh ericsoft
#include "bench/support/timing.h"
#include "contacts/bookcatalog.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "transfer/ericsoftimport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <shapefil.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace parlix;

namespace {

constexpr int customerCount = 50'000;
constexpr int marketCount = 100;
constexpr int runs = 5;

void writeRegister(const QString& folder)
{
    DBFHandle dbf =
        DBFCreateEx(QFile::encodeName(folder + QStringLiteral("/ANAGRAFICHE.DBF")).constData(), "LDID/3");
    const char* names[] = {"RN_MER", "COGNOME", "NOME", "POSTA", "TELEFONO_3"};
    const int widths[] = {5, 30, 30, 40, 20};
    for (int i = 0; i < 5; ++i)
        DBFAddField(dbf, names[i], FTString, widths[i], 0);
    for (int i = 0; i < customerCount; ++i) {
        const std::string number = "+39 3" + std::to_string(10 + i % 90) + "/" + std::to_string(1000000 + i);
        DBFWriteStringAttribute(dbf, i, 0, std::to_string(i % marketCount).c_str());
        DBFWriteStringAttribute(dbf, i, 1, ("Cognome" + std::to_string(i)).c_str());
        DBFWriteStringAttribute(dbf, i, 2, ("Nome" + std::to_string(i % 977)).c_str());
        DBFWriteStringAttribute(dbf, i, 3, ("c" + std::to_string(i) + "@example.it").c_str());
        DBFWriteStringAttribute(dbf, i, 4, number.c_str());
    }
    DBFClose(dbf);
}

void copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to + QStringLiteral("/rubriche"));
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QFile::copy(from + u'/' + name, to + u'/' + name);
    for (const QString& name : QDir(from + QStringLiteral("/rubriche")).entryList(QDir::Files))
        QFile::copy(from + QStringLiteral("/rubriche/") + name, to + QStringLiteral("/rubriche/") + name);
}

struct Row
{
    std::string nome, cognome, cellulare, email;
};

std::string field(DBFHandle dbf, int record, int index)
{
    const char* text = DBFReadStringAttribute(dbf, record, index);
    return text ? std::string(text) : std::string();
}

void bareImport(const QString& registerFolder, const QString& home)
{
    DBFHandle dbf =
        DBFOpen(QFile::encodeName(registerFolder + QStringLiteral("/ANAGRAFICHE.DBF")).constData(), "rb");
    std::map<std::string, std::vector<Row>> books;
    const int count = DBFGetRecordCount(dbf);
    for (int i = 0; i < count; ++i) {
        if (DBFIsRecordDeleted(dbf, i))
            continue;
        std::string digits;
        for (char c : field(dbf, i, 4)) {
            if (c >= '0' && c <= '9')
                digits += c;
        }
        const std::string market = field(dbf, i, 0);
        books["Mercato-" + market].push_back({field(dbf, i, 2), field(dbf, i, 1), digits, field(dbf, i, 3)});
    }
    DBFClose(dbf);
    for (const auto& [book, rows] : books) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(
            QFile::encodeName(home + QStringLiteral("/rubriche/") + QString::fromStdString(book)).constData(),
            &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(
            db, "INSERT INTO rubrica (Nome, cognome, cellulare, email, icona) VALUES (?,?,?,?,'4')", -1,
            &insert, nullptr);
        for (const Row& row : rows) {
            sqlite3_bind_text(insert, 1, row.nome.c_str(), int(row.nome.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 2, row.cognome.c_str(), int(row.cognome.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 3, row.cellulare.c_str(), int(row.cellulare.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 4, row.email.c_str(), int(row.email.size()), SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db);
    }
}

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

long long rowsIn(const QString& home)
{
    long long total = 0;
    for (const QString& name : QDir(home + QStringLiteral("/rubriche")).entryList(QDir::Files)) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(home + QStringLiteral("/rubriche/") + name).constData(), &db,
                        SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* count = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM rubrica", -1, &count, nullptr);
        sqlite3_step(count);
        total += sqlite3_column_int64(count, 0);
        sqlite3_finalize(count);
        sqlite3_close_v2(db);
    }
    return total;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("ericsoft"));
    QDir().mkpath(source);
    writeRegister(source);

    // The data folder every run starts from: installed, with the 100 market books.
    const QString start = dir.filePath(QStringLiteral("start"));
    {
        ProgramState state{DataFolder(start)};
        Installer(state.folder).run();
        BookCatalog catalog(state);
        for (int i = 0; i < marketCount; ++i)
            catalog.create(QStringLiteral("Mercato-%1").arg(i));
    }
    auto home = [&](const char* side, int run) {
        return dir.filePath(QStringLiteral("%1%2").arg(QLatin1StringView(side)).arg(run));
    };

    int imported = 0;
    const double measured = medianOf([&](int run) { copyFolder(start, home("import", run)); },
                                     [&](int run) {
                                         ProgramState state{DataFolder(home("import", run))};
                                         const auto result = EricsoftImport(state).run(source);
                                         imported = result.imported;
                                     });
    const double base = medianOf([&](int run) { copyFolder(start, home("bare", run)); },
                                 [&](int run) { bareImport(source, home("bare", run)); });

    const long long stored = rowsIn(home("import", 0));
    const long long bareStored = rowsIn(home("bare", 0));
    std::printf("rows: import %d (stored %lld), bare %lld\n", imported, stored, bareStored);
    if (stored != customerCount || bareStored != customerCount)
        return 1;
    bench::report("EricsoftImport, 50,000 customers, 100 books", measured,
                  "shapelib + bare SQLite, a transaction per book", base, 2.0);
    return 0;
}
