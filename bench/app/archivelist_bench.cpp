// Tree click to a shown, sorted list of a 100,000-contact book, against the
// baseline: a bare QTableView over a vector-backed table model filled from the
// same file with the sqlite3 C API and sorted by the same column the same way.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARLIX_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_archivelist
//   QT_QPA_PLATFORM=offscreen build-bench/bench/browser/bench_archivelist
#include "app/mainwindow.h"
#include "bench/support/silentdialogs.h"
#include "browser/archivelist.h"
#include "core/clock.h"
#include "core/datafolder.h"
#include "core/dialogs.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/statement.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace {

constexpr int contactCount = 100000;

using SilentDialogs = parlix::bench::SilentDialogs;

// One data folder for the whole run, its book "Principale" holding the contacts
// in a shuffled surname order.
struct Data
{
    Data() : folder(dir.path())
    {
        parlix::Installer(folder).run();
        auto db = parlix::Database::open(folder.bookPath(QStringLiteral("Principale")));
        db->exec("BEGIN");
        parlix::Statement insert(*db, "INSERT INTO rubrica (Nome, cognome, cellulare, email, icona) "
                                      "VALUES (?, ?, ?, ?, '4')");
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

    QTemporaryDir dir;
    parlix::DataFolder folder;
};

Data& data()
{
    static Data instance;
    return instance;
}

bool lessIgnoringCase(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
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
            return lessIgnoringCase(a[column], b[column]);
        });
        emit layoutChanged();
    }

private:
    std::vector<Row> rows_;
};

std::vector<BareModel::Row> readBare(const QString& path)
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

void BM_BareTableView(benchmark::State& state)
{
    const QString path = data().folder.bookPath(QStringLiteral("Principale"));
    BareModel model;
    QTableView view;
    view.setModel(&model);
    view.resize(900, 600);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        model.fill({});
        model.fill(readBare(path));
        view.sortByColumn(2, Qt::AscendingOrder);
        view.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
}

void BM_ParlixTreeClick(benchmark::State& state)
{
    parlix::ProgramState programState(data().folder);
    SilentDialogs dialogs;
    parlix::Clock clock;
    parlix::MainWindow window(parlix::AppContext{programState, dialogs, clock});
    window.resize(1100, 700);
    window.load();
    window.show();
    parlix::ArchiveList& list = *window.archiveList();
    const auto settle = [&] {
        while (list.reloadPending())
            QApplication::processEvents();
        list.repaint();
        QApplication::processEvents();
    };
    settle();
    for (auto _ : state) {
        window.clickNode(3); // the group node "SMS Salvati": the list empties
        settle();
        window.clickNode(2); // "Principale" under "Rubriche"
        settle();
        benchmark::DoNotOptimize(list.rowCount());
    }
    state.counters["rows"] = list.rowCount();
}

} // namespace

BENCHMARK(BM_BareTableView)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ParlixTreeClick)->Unit(benchmark::kMillisecond)->MinTime(3.0);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    data();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
