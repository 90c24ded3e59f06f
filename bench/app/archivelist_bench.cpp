// Tree click to a shown, sorted list of a 100,000-contact book, against the
// baseline: a bare QTableView over a vector-backed table model filled from the
// same file with the sqlite3 C API and sorted by the same column the same way.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARLIX_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_archivelist
//   QT_QPA_PLATFORM=offscreen build-bench/bench/browser/bench_archivelist
#include "bench/support/baretable.h"
#include "bench/support/listwindow.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "core/programstate.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int contactCount = 100000;

// One data folder for the whole run, its book "Principale" holding the contacts
// in a shuffled surname order.
struct Data
{
    Data() : folder(dir.path())
    {
        parlix::Installer(folder).run();
        parlix::bench::fillShuffledBook(folder.bookPath(QStringLiteral("Principale")), contactCount);
    }

    QTemporaryDir dir;
    parlix::DataFolder folder;
};

Data& data()
{
    static Data instance;
    return instance;
}

void BM_BareTableView(benchmark::State& state)
{
    const QString path = data().folder.bookPath(QStringLiteral("Principale"));
    parlix::bench::BareView view;
    for (auto _ : state) {
        view.show([&] { return parlix::bench::readBareRows(path); });
        benchmark::DoNotOptimize(view.rows());
    }
    state.counters["rows"] = view.rows();
}

void BM_ParlixTreeClick(benchmark::State& state)
{
    parlix::ProgramState programState(data().folder);
    parlix::bench::ListWindow window(programState);
    for (auto _ : state) {
        window.clickToBook();
        benchmark::DoNotOptimize(window.rows());
    }
    state.counters["rows"] = window.rows();
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
