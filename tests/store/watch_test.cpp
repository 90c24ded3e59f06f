// A seat's watch on an archive fires when another seat changes that archive,
// and for nothing else.
#include "store/archivewatch.h"
#include "store/bookstorage.h"
#include "store/pgconnection.h"
#include "store/recordset.h"
#include "tests/store/storehome.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

using namespace parlix;
using test::Backend;

namespace {

const QString principale = QStringLiteral("Principale");
const QString rubrica = QStringLiteral("rubrica");

void append(const std::shared_ptr<Database>& db, const QString& table, const QString& cognome)
{
    Recordset rs(db, queries::wholeTable(table));
    rs.addNew();
    rs.setField(u"cognome", cognome);
    rs.setField(u"cellulare", QStringLiteral("333"));
    rs.update();
}

// Runs the event loop until `done` or the time is up.
bool waitFor(const std::function<bool()>& done, int ms = 5000)
{
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}

void spin(int ms)
{
    waitFor([] { return false; }, ms);
}

class WatchTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "store_watch_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    void SetUp() override
    {
        home.store->books().create(QStringLiteral("Casa"))->finish();
        home.store->books().create(QStringLiteral("Sentinella"))->finish();
        watch = home.store->watch(home.bookPath(principale), rubrica);
        sentinel = home.store->watch(home.bookPath(QStringLiteral("Sentinella")), rubrica);
        // Changes made before the watch was listening were not heard: the
        // first thing it says is that the archive may have changed.
        QSignalSpy ready(watch.get(), &ArchiveWatch::changed);
        ASSERT_TRUE(waitFor([&] { return !ready.isEmpty(); }));
        spin(500);
    }

    // What another seat does, followed by a change the sentinel sees: once
    // the sentinel has fired and the gathering time has passed, every notice
    // the action caused has been heard.
    int firedAfter(const std::function<void()>& action)
    {
        QSignalSpy fired(watch.get(), &ArchiveWatch::changed);
        QSignalSpy sentinelFired(sentinel.get(), &ArchiveWatch::changed);
        action();
        append(other->open(home.bookPath(QStringLiteral("Sentinella"))), rubrica, QStringLiteral("fine"));
        EXPECT_TRUE(waitFor([&] { return !sentinelFired.isEmpty(); }));
        spin(800);
        return int(fired.count());
    }

    test::StoreHome home{Backend::Postgres};
    std::shared_ptr<Store> other = home.seat();
    std::unique_ptr<ArchiveWatch> watch;
    std::unique_ptr<ArchiveWatch> sentinel;
};

TEST_F(WatchTest, FiresOnceForAnotherSeatsChangesToTheWatchedArchiveOnly)
{
    const auto mine = [&] { return home.openBook(principale); };
    const auto theirs = [&](const QString& book) { return other->open(home.bookPath(book)); };
    append(mine(), rubrica, QStringLiteral("Esistente"));
    struct Case
    {
        const char* what;
        std::function<void()> action;
        int fired;
    };
    const std::vector<Case> cases{
        {"insert by the other seat", [&] { append(theirs(principale), rubrica, QStringLiteral("Nuovo")); },
         1},
        {"update by the other seat",
         [&] {
             Recordset rs(theirs(principale), queries::wholeTable(rubrica));
             rs.edit();
             rs.setField(u"Nome", QStringLiteral("Anna"));
             rs.update();
         },
         1},
        {"delete by the other seat",
         [&] { Recordset(theirs(principale), queries::wholeTable(rubrica)).deleteCurrent(); }, 1},
        {"ten inserts in a row",
         [&] {
             const auto db = theirs(principale);
             for (int i = 0; i < 10; ++i)
                 append(db, rubrica, QString::number(i));
         },
         1},
        {"another table of the same book",
         [&] { append(theirs(principale), QStringLiteral("inviati"), QStringLiteral("Altro")); }, 0},
        {"the same table of another book",
         [&] { append(theirs(QStringLiteral("Casa")), rubrica, QStringLiteral("Altro")); }, 0},
        {"this seat's own change", [&] { append(mine(), rubrica, QStringLiteral("Mio")); }, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(firedAfter(c.action), c.fired) << c.what;
}

// The listening connection is cut by the server: it comes back on its own,
// tells that changes may have been missed, and hears the next ones.
TEST_F(WatchTest, ALostListenerComesBackAndSaysChangesMayHaveBeenMissed)
{
    ASSERT_TRUE(
        firedAfter([&] { append(other->open(home.bookPath(principale)), rubrica, QStringLiteral("1")); }));
    QSignalSpy fired(watch.get(), &ArchiveWatch::changed);
    PgConnection admin(home.address);
    const PgResult cut =
        admin.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                                  " WHERE datname = current_database() AND query = 'LISTEN parlix'"));
    ASSERT_EQ(cut.rows(), 1);
    EXPECT_TRUE(waitFor([&] { return !fired.isEmpty(); }, 10000));
    EXPECT_EQ(
        firedAfter([&] { append(other->open(home.bookPath(principale)), rubrica, QStringLiteral("2")); }), 1);
}

// A database laid out before the tables announced their changes gets the
// announcements from the first seat that opens it.
TEST_F(WatchTest, ADatabaseWithoutAnnouncementsGetsThemOnFirstUse)
{
    PgConnection admin(home.address);
    admin.run(QStringLiteral("DROP FUNCTION public.parlix_notify() CASCADE"));
    const QString triggers = QStringLiteral("SELECT count(*) FROM pg_trigger WHERE tgname = 'parlix_notify'");
    ASSERT_EQ(admin.exec(triggers).text(0, 0), QStringLiteral("0"));
    home.seat()->prepare();
    // Four tables in each of "Principale", "Casa", "Sentinella" and the template, and the book list.
    EXPECT_EQ(admin.exec(triggers).text(0, 0), QStringLiteral("17"));
    EXPECT_EQ(
        firedAfter([&] { append(other->open(home.bookPath(principale)), rubrica, QStringLiteral("1")); }), 1);
}

} // namespace
