// The statistics window opened on a year of a 1,000,000-recipient send
// journal (three books, SQLite files): the time from making the window to the
// chart drawn, against the baseline of the journal's sums run through the
// bare sqlite3 API on the same files. Target: at most 1 s. Run on demand:
//   bench/run.sh statistics
// With PARLIX_STATS_SCREENSHOT=FILE.png the drawn window is also saved there
// (run it under xvfb-run with QT_QPA_PLATFORM=xcb to see it as on a desktop).
#include "bench/support/silentdialogs.h"
#include "contacts/bookcatalog.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "messaging/statisticswindow.h"
#include "sending/sendstatistics.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/store.h"
#include "store/transaction.h"

#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace parlix;

namespace {

constexpr int Rows = 1000000;
constexpr int BatchesPerDay = 3;
const QDate Today(2026, 12, 31);

using SilentDialogs = parlix::bench::SilentDialogs;

class YearEnd : public Clock
{
public:
    QDateTime now() const override { return QDateTime(Today, QTime(18, 0)); }
};

// A year of batches, three a day spread over the books, each recipient
// served: most accepted, some refused, a few in doubt; every batch with its
// inviati row, as the sender leaves them.
void fillJournal(ProgramState& state, const QStringList& books)
{
    const int batches = 365 * BatchesPerDay;
    const int perBatch = Rows / batches + 1;
    std::mt19937 random(29);
    std::uniform_int_distribution<int> outcome(0, 99);
    std::vector<std::shared_ptr<Database>> dbs;
    for (const QString& book : books) {
        dbs.push_back(state.store->open(state.folder.bookPath(book)));
        schema::addScheduledTables(*dbs.back());
        dbs.back()->exec("BEGIN");
    }
    int written = 0;
    for (int b = 0; b < batches && written < Rows; ++b) {
        Database& db = *dbs[std::size_t(b % dbs.size())];
        const QDateTime when(Today.addDays(b / BatchesPerDay - 364), QTime(9 + b % BatchesPerDay * 4, 0));
        const QString data = when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        Statement batch(db, "INSERT INTO programmati (Quando, Testo, Stato, Inviato) VALUES (?, 'Offerta', "
                            "'concluso', ?) RETURNING id");
        batch.bind(1, when.toUTC().toString(Qt::ISODate));
        batch.bind(2, data);
        batch.step();
        const qint64 id = batch.integer(0);
        batch.reset();
        Statement row(
            db, "INSERT INTO inviati (cognome, cellulare, \"Data\", \"Testo\") VALUES ('<lista>', '3', ?, "
                "'Offerta')");
        row.bind(1, data);
        row.step();
        Statement recipient(db,
                            "INSERT INTO programmati_destinatari (programma, posizione, cellulare, Parti, "
                            "Stato, Esito, Accettati) VALUES (?, ?, ?, ?, 2, ?, ?)");
        const int parts = 1 + b % 2;
        for (int p = 1; p <= perBatch && written < Rows; ++p, ++written) {
            const int roll = outcome(random);
            const long result = roll < 94 ? 0 : roll < 99 ? 3 : 12002;
            recipient.bind(1, id);
            recipient.bind(2, p);
            recipient.bind(3, QStringLiteral("333%1").arg(written, 7, 10, QChar(u'0')));
            recipient.bind(4, parts);
            recipient.bind(5, result);
            recipient.bind(6, result == 0 ? parts : 0);
            recipient.step();
            recipient.reset();
        }
    }
    for (auto& db : dbs)
        db->exec("COMMIT");
}

// The journal's sums for the year through the bare sqlite3 API, with the
// statement the window uses: the floor any reader of these files has.
void bareSums(const ProgramState& state, const QStringList& books, qint64& accepted)
{
    for (const QString& book : books) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(state.folder.bookPath(book).toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(
            db,
            "SELECT p.Inviato, d.Stato, d.Esito, sum(d.Parti), sum(d.Accettati) FROM programmati p"
            " JOIN programmati_destinatari d ON d.programma = p.id WHERE p.Inviato IS NOT NULL AND"
            " (substr(p.Inviato, 7, 4) || substr(p.Inviato, 4, 2) || substr(p.Inviato, 1, 2))"
            " BETWEEN '20260101' AND '20261231' AND d.Stato IN (1, 2)"
            " GROUP BY p.id, p.Inviato, d.Stato, d.Esito",
            -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            accepted += sqlite3_column_int64(st, 4);
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
}

// Makes the window, waits for the chart and paints it; the milliseconds taken.
double openAndDraw(AppContext context, StatisticsStep step, const QString& screenshot = {})
{
    QElapsedTimer timer;
    timer.start();
    StatisticsWindow window(context);
    QEventLoop loop;
    QObject::connect(&window, &StatisticsWindow::drawn, &loop, &QEventLoop::quit);
    if (step != StatisticsStep::Month)
        window.showPeriod(Today.addDays(-364), Today, step);
    window.show();
    loop.exec();
    const QPixmap drawn = window.grab();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (!screenshot.isEmpty())
        drawn.save(screenshot);
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    ProgramState state{DataFolder(dir.path())};
    Installer(state.folder).run();
    const QStringList books{QStringLiteral("Principale"), QStringLiteral("Clienti"),
                            QStringLiteral("Promozioni")};
    for (const QString& book : books.mid(1))
        BookCatalog(state).create(book);
    QElapsedTimer filling;
    filling.start();
    fillJournal(state, books);
    textfile::writeLines(state.folder.path(QStringLiteral("residui.txt")), {QStringLiteral("500000")});
    std::printf("journal of %d recipients over 365 days in %d books written in %.1f s\n\n", Rows,
                int(books.size()), double(filling.elapsed()) / 1000);

    SilentDialogs dialogs;
    const YearEnd clock;
    const AppContext context{state, dialogs, clock};
    const QString screenshot = qEnvironmentVariable("PARLIX_STATS_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        for (const StatisticsStep step : {StatisticsStep::Month, StatisticsStep::Week, StatisticsStep::Day})
            openAndDraw(context, step,
                        QString(screenshot)
                            .replace(QStringLiteral(".png"),
                                     u'-' + statisticsStepWord(step) + QStringLiteral(".png")));
    }
    for (const StatisticsStep step : {StatisticsStep::Month, StatisticsStep::Week, StatisticsStep::Day}) {
        std::vector<double> ours;
        std::vector<double> reading;
        std::vector<double> base;
        openAndDraw(context, step); // warm the caches once
        const StatisticsRequest year{Today.addDays(-364), Today, step, Today};
        for (int run = 0; run < 5; ++run) {
            ours.push_back(openAndDraw(context, step));
            QElapsedTimer timer;
            timer.start();
            readSendStatistics(*state.store, state.folder, year);
            reading.push_back(double(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            qint64 accepted = 0;
            bareSums(state, books, accepted);
            base.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        const double measured = median(ours);
        const double baseline = median(base);
        std::printf(
            "%-44s %9.2f ms\n%-44s %9.2f ms\n%-44s %9.2f ms\nratio %.2fx; target at most 1000 ms: %s\n\n",
            (QStringLiteral("window opens and draws a year, by ") + statisticsStepWord(step))
                .toUtf8()
                .constData(),
            measured, "  of which the figures read (no window)", median(reading),
            "bare sqlite3 sums of the same journal", baseline, measured / baseline,
            measured <= 1000 ? "met" : "NOT met");
    }
    return 0;
}
