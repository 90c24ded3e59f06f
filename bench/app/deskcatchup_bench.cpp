// How soon a desk's open list shows another desk's change, on a throwaway
// cluster (tests/store/pgcluster.sh):
//   baseline: the change made while every connection is up;
//   restart:  the server restarted (every session ended) and the change made
//             as soon as it accepts connections again; the desk is left alone.
// Also how long after the restart the window says the database is back.
// Run: bench/run.sh deskcatchup
#include "app/mainwindow.h"
#include "app/storefollower.h"
#include "bench/support/pgcluster.h"
#include "bench/support/silentdialogs.h"
#include "bench/support/timing.h"
#include "bench/support/windowmain.h"
#include "browser/archivelist.h"
#include "contacts/contactstore.h"
#include "core/clock.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "store/pgconnection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace parlix;

namespace {

constexpr int baselineRuns = 9;
constexpr int restartRuns = 5;
// A desk that has not caught up by then counts as a failure.
constexpr qint64 patienceMs = 120000;

// A data folder on the cluster's database, with the initial layout.
struct Desk
{
    explicit Desk(const QString& address) : folder(dir.path())
    {
        QFile file(folder.path(QStringLiteral("archivio")));
        if (!file.open(QIODevice::WriteOnly) || file.write(address.toUtf8() + '\n') < 0)
            throw std::runtime_error("cannot write the archivio file");
        file.close();
        Installer(folder).run();
        state = std::make_unique<ProgramState>(folder);
    }

    QTemporaryDir dir;
    DataFolder folder;
    std::unique_ptr<ProgramState> state;
};

// Runs the event loop until `done`; the milliseconds it took.
qint64 waitMs(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > patienceMs)
            throw std::runtime_error("the desk did not catch up within two minutes");
        // Sleeps until an event comes or 5 ms pass.
        QEventLoop pause;
        QTimer::singleShot(5, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return clock.elapsed();
}

int run()
{
    bench::PgCluster cluster;
    PgConnection(cluster.address("postgres")).exec(QStringLiteral("CREATE DATABASE desks"));
    const QString address = cluster.address("desks");
    Desk watching(address);
    Desk changing(address);
    bench::SilentDialogs dialogs;
    Clock clock;
    MainWindow window(AppContext{*watching.state, dialogs, clock});
    window.load();
    window.show();
    const ArchiveList& list = *window.archiveList();
    int added = 0;
    const auto change = [&] {
        ++added;
        ContactStore(*changing.state)
            .add(QStringLiteral("Principale"),
                 {QStringLiteral("N"), QStringLiteral("Cognome%1").arg(added),
                  QStringLiteral("333%1").arg(added), QStringLiteral(" "), QStringLiteral("4")});
    };
    const auto shown = [&] { return list.rowCount() == added; };
    waitMs([&] { return !list.reloadPending() && shown(); });
    // Lets the window's own reads (a watch that starts listening, a reload
    // after an outage) end, so that none of them reads the next change.
    const auto settle = [] {
        QElapsedTimer settling;
        settling.start();
        waitMs([&] { return settling.elapsed() > 1000; });
    };
    settle();

    std::vector<double> baseline;
    for (int i = 0; i < baselineRuns; ++i) {
        change();
        baseline.push_back(double(waitMs(shown)));
    }
    std::vector<double> restart;
    std::vector<double> told;
    const QString back = QStringLiteral("Collegamento con l'archivio condiviso ristabilito.");
    for (int i = 0; i < restartRuns; ++i) {
        settle();
        window.follower().say({});
        cluster.restart();
        QElapsedTimer sinceRestart;
        sinceRestart.start();
        change();
        restart.push_back(double(waitMs(shown)));
        waitMs([&] { return window.follower().note() == back; });
        told.push_back(double(sinceRestart.elapsed()));
    }
    const auto worst = [](const std::vector<double>& values) {
        return *std::max_element(values.begin(), values.end());
    };
    std::printf(
        "change seen by the open list, connections up:      median %7.0f ms, worst %7.0f ms (%d runs)\n",
        bench::median(baseline), worst(baseline), baselineRuns);
    std::printf(
        "change seen by the open list, after a restart:     median %7.0f ms, worst %7.0f ms (%d runs)\n",
        bench::median(restart), worst(restart), restartRuns);
    std::printf("window says the database is back, after a restart: median %7.0f ms, worst %7.0f ms\n",
                bench::median(told), worst(told));
    std::printf("ratio restart/baseline (median): %.1f\n", bench::median(restart) / bench::median(baseline));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return bench::windowMain(argc, argv, run);
}
