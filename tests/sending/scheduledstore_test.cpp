#include "sending/batchjournal.h"
#include "sending/batchplan.h"
#include "sending/runnername.h"
#include "sending/scheduledstore.h"
#include "store/database.h"
#include "store/statement.h"
#include "store/store.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

#include <latch>
#include <set>
#include <thread>

using namespace parlix;

namespace {

QDateTime at(int hour, int minute = 0)
{
    return QDateTime(QDate(2026, 12, 24), QTime(hour, minute));
}

BatchPlan planFor(int recipients, const QString& text = QStringLiteral("Ciao {Nome}"))
{
    QList<Contact> contacts;
    for (int i = 1; i <= recipients; ++i)
        contacts.append({QStringLiteral("N%1").arg(i), QStringLiteral("C"), QStringLiteral("33300%1").arg(i),
                         QStringLiteral(" "), QStringLiteral("4")});
    return std::get<BatchPlan>(BatchPlan::make(text, contacts, SplitMode::Fixed));
}

ScheduledBatch batchAt(const QDateTime& due)
{
    ScheduledBatch batch;
    batch.due = due;
    batch.text = QStringLiteral("Ciao {Nome}");
    batch.cognome = QStringLiteral("<lista>");
    batch.cellulare = QStringLiteral("3330001;3330002");
    return batch;
}

class ScheduledStoreTest : public ::testing::TestWithParam<test::Backend>
{
protected:
    QString book() const { return home.state.folder.bookPath(QStringLiteral("Principale")); }
    test::TestHome home{GetParam()};
    Store& archive = *home.state.store;
};

INSTANTIATE_TEST_SUITE_P(BothStores, ScheduledStoreTest,
                         ::testing::Values(test::Backend::Files, test::Backend::Postgres),
                         [](const auto& info) { return test::backendName(info.param); });

} // namespace

TEST_P(ScheduledStoreTest, ABookWithoutTheTablesOpensAndHasNoBatch)
{
    ScheduledStore store(archive, book());
    EXPECT_TRUE(store.waiting().isEmpty());
    EXPECT_TRUE(store.due(at(12), {}).isEmpty());
    EXPECT_FALSE(store.batch(1));
    EXPECT_FALSE(store.cancel(1));
    EXPECT_TRUE(store.refusals(1).isEmpty());
    EXPECT_FALSE(archive.open(book())->hasTable(ScheduledStore::batchTable()));
}

TEST_P(ScheduledStoreTest, ABatchWaitsForItsTimeAndCanBeCancelledOnlyBeforeItLeaves)
{
    ScheduledStore store(archive, book());
    const qint64 early = store.add(batchAt(at(9)), planFor(2));
    const qint64 late = store.add(batchAt(at(18, 30)), planFor(3));
    const qint64 cancelled = store.add(batchAt(at(10)), planFor(1));

    const QList<ScheduledBatch> waiting = store.waiting();
    ASSERT_EQ(waiting.size(), 3);
    EXPECT_EQ(waiting.at(0).id, early);
    EXPECT_EQ(waiting.at(0).due, at(9));
    EXPECT_EQ(waiting.at(0).text, QStringLiteral("Ciao {Nome}"));
    EXPECT_EQ(waiting.at(0).recipients, 2);
    EXPECT_EQ(waiting.at(2).sms, 3);

    EXPECT_TRUE(store.cancel(cancelled));
    EXPECT_FALSE(store.cancel(cancelled));
    EXPECT_FALSE(store.start(cancelled, QStringLiteral("24/12/2026 10:00:00")));

    // A batch kept with a login is due only to a runner with that login.
    ScheduledBatch kept = batchAt(at(9, 30));
    kept.account = QStringLiteral("anna");
    const qint64 anna = store.add(kept, planFor(1));
    struct Row
    {
        QDateTime now;
        QString account;
        QList<qint64> due;
    } rows[] = {{at(8, 59), {}, {}},
                {at(9), {}, {early}},
                {at(18, 29), QStringLiteral("bruno"), {early}},
                {at(18, 29), QStringLiteral("anna"), {early, anna}},
                {at(23), QStringLiteral("Anna"), {early, late}}};
    for (const Row& row : rows)
        EXPECT_EQ(store.due(row.now, row.account), row.due) << row.now.toString().toStdString();
    EXPECT_TRUE(store.cancel(anna));

    // Once it has left, it cannot be cancelled, and its inviati row is written once.
    EXPECT_TRUE(store.start(early, QStringLiteral("24/12/2026 09:00:01")));
    EXPECT_TRUE(store.start(early, QStringLiteral("24/12/2026 09:00:02")));
    EXPECT_FALSE(store.cancel(early));
    EXPECT_EQ(home.rows(book(), QStringLiteral("inviati")),
              QStringList{QStringLiteral("<lista>|3330001;3330002|24/12/2026 09:00:01|Ciao {Nome}")});
}

TEST_P(ScheduledStoreTest, TwoRunnersTakeEachRecipientOnceAndADeadOnesRecipientIsNeverTakenAgain)
{
    ScheduledStore first(archive, book());
    ScheduledStore second(*home.seat(), book()); // another connection, as another process has
    const qint64 id = first.add(batchAt(at(9)), planFor(7));
    ASSERT_TRUE(first.start(id, QStringLiteral("d")));

    // "dead" takes one recipient and never reports.
    const std::optional<RecipientClaim> lost = second.next(id, QStringLiteral("dead"), std::nullopt);
    ASSERT_TRUE(lost);
    EXPECT_EQ(lost->position, 1);
    EXPECT_EQ(lost->text, QStringLiteral("Ciao N1"));

    std::multiset<int> taken;
    std::optional<RecipientResult> a, b;
    for (bool more = true; more;) {
        const auto fromFirst = first.next(id, QStringLiteral("a"), a);
        const auto fromSecond = second.next(id, QStringLiteral("b"), b);
        a.reset();
        b.reset();
        if (fromFirst) {
            taken.insert(fromFirst->position);
            a = RecipientResult{fromFirst->position, fromFirst->position == 4 ? 11 : 0,
                                fromFirst->position == 4 ? 0 : 1};
        }
        if (fromSecond) {
            taken.insert(fromSecond->position);
            b = RecipientResult{fromSecond->position, 0, 1};
        }
        more = fromFirst || fromSecond;
    }
    EXPECT_EQ(taken, (std::multiset<int>{2, 3, 4, 5, 6, 7}));

    const RecipientCounts counts = first.counts(id);
    EXPECT_EQ(counts.waiting, 0);
    EXPECT_EQ(counts.underWay, 1);
    EXPECT_EQ(counts.served, 6);
    EXPECT_EQ(counts.refused, 1);
    EXPECT_EQ(counts.acceptedSms, 5);
    EXPECT_EQ(first.refusals(id), QStringList{QStringLiteral("333004: 11")});
    EXPECT_TRUE(first.closeIfServed(id));
    EXPECT_TRUE(first.waiting().isEmpty());
    EXPECT_TRUE(first.due(at(23), {}).isEmpty());
    EXPECT_EQ(first.batch(id)->state, ScheduledBatch::State::Done);
}

// Two seats (two runners with connections of their own) on one batch at the
// same moment: the batch leaves once, with one inviati row, and each
// recipient goes to one of them.
TEST_P(ScheduledStoreTest, TwoSeatsAtOnceStartTheBatchOnceAndTakeEachRecipientOnce)
{
    constexpr int recipients = 30;
    const qint64 id = ScheduledStore(archive, book()).add(batchAt(at(9)), planFor(recipients));
    std::vector<int> taken[2];
    std::latch ready(2);
    std::thread seats[2];
    for (int s = 0; s < 2; ++s) {
        seats[s] = std::thread([&, s] {
            ScheduledStore store(*home.seat(), book());
            EXPECT_TRUE(store.batch(id)); // connected
            ready.arrive_and_wait();
            EXPECT_TRUE(store.start(id, QStringLiteral("24/12/2026 09:00:0%1").arg(s)));
            std::optional<RecipientResult> served;
            while (const auto claim = store.next(id, QStringLiteral("seat%1").arg(s), served)) {
                taken[s].push_back(claim->position);
                served = RecipientResult{claim->position, 0, 1};
            }
            if (served)
                store.report(id, *served);
        });
    }
    for (std::thread& seat : seats)
        seat.join();

    std::multiset<int> all(taken[0].begin(), taken[0].end());
    all.insert(taken[1].begin(), taken[1].end());
    std::multiset<int> expected;
    for (int p = 1; p <= recipients; ++p)
        expected.insert(p);
    EXPECT_EQ(all, expected);
    EXPECT_EQ(home.rows(book(), QStringLiteral("inviati")).size(), 1);
    ScheduledStore store(archive, book());
    EXPECT_EQ(store.counts(id).served, recipients);
    EXPECT_TRUE(store.closeIfServed(id));
}

// The tables a book file gets are those of the files written so far, to the
// letter, so older and newer copies of the program read each other's books.
TEST(ScheduledStoreFiles, TheTablesAddedToABookFileKeepTheirLayout)
{
    test::TestHome home;
    const QString book = home.state.folder.bookPath(QStringLiteral("Principale"));
    ScheduledStore(*home.state.store, book).add(batchAt(at(9)), planFor(1));
    BatchJournal journal(*home.state.store, book);
    const struct
    {
        const char* name;
        const char* sql;
    } tables[] = {
        {"lotti", "CREATE TABLE lotti (id INTEGER PRIMARY KEY, Data TEXT, Testo TEXT,"
                  " concluso INTEGER NOT NULL DEFAULT 0, inviati INTEGER)"},
        {"destinatari",
         "CREATE TABLE destinatari (lotto INTEGER NOT NULL, posizione INTEGER NOT NULL,"
         " cognome TEXT, cellulare TEXT, stato INTEGER NOT NULL DEFAULT 0, esito INTEGER NOT NULL"
         " DEFAULT 0, PRIMARY KEY (lotto, posizione))"},
        {"programmati",
         "CREATE TABLE programmati (id INTEGER PRIMARY KEY, Quando TEXT NOT NULL,"
         " Testo TEXT, Suddivisione TEXT, Flash INTEGER NOT NULL DEFAULT 0, Mittente TEXT,"
         " cognome TEXT COLLATE NOCASE, cellulare TEXT COLLATE NOCASE,"
         " Immediato INTEGER NOT NULL DEFAULT 0, Stato TEXT NOT NULL, Account TEXT, Inviato TEXT)"},
        {"programmati_destinatari",
         "CREATE TABLE programmati_destinatari (programma INTEGER NOT NULL,"
         " posizione INTEGER NOT NULL, cellulare TEXT, Testo TEXT, Parti INTEGER NOT NULL,"
         " Stato INTEGER NOT NULL DEFAULT 0, Esito INTEGER, Accettati INTEGER NOT NULL DEFAULT 0,"
         " Esecutore TEXT, Pezzi TEXT, Preso TEXT, cognome TEXT, PRIMARY KEY (programma, posizione))"},
        {"programmati_quando", "CREATE INDEX programmati_quando ON programmati (Stato, Quando)"},
        {"programmati_destinatari_stato", "CREATE INDEX programmati_destinatari_stato"
                                          " ON programmati_destinatari (programma, Stato, posizione)"},
    };
    const auto db = Database::open(book);
    Statement layout(*db, "SELECT sql FROM sqlite_master WHERE name = ?");
    for (const auto& table : tables) {
        layout.bind(1, QString::fromLatin1(table.name));
        ASSERT_TRUE(layout.step()) << table.name;
        EXPECT_EQ(layout.text(0), QString::fromLatin1(table.sql)) << table.name;
        layout.reset();
    }
}

// A batch sent at once and cut short is offered for resuming unless a runner
// that may still be at work holds some of its recipients: a process of this
// machine while it runs (not another one that got its number) and this one
// while its run goes on, one of another machine while it took recipients lately.
TEST_P(ScheduledStoreTest, AnInterruptedBatchIsOfferedOnlyWhenNoRunnerIsAtWork)
{
    const QString self = runnerName().section(u':', 0, 1); // as runners of earlier versions wrote it
    const QString here = runnerName().section(u':', 0, 0) + u':';
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const struct
    {
        QString runner; // empty: every recipient taken was released
        qint64 takenAgo;
        bool offered;
    } rows[] = {
        {{}, 0, true},
        {runnerName(), 0, true},
        {self, 3600, false},
        {self + QStringLiteral(":1"), 0, true},
        {here + QStringLiteral("999999999:5"), 0, true},
        {QStringLiteral("altra:42:7"), 60, false},
        {QStringLiteral("altra:42:7"), RemoteQuietSeconds + 60, true},
    };
    ScheduledStore store(archive, book());
    for (const auto& row : rows) {
        ScheduledBatch batch = batchAt(at(9));
        batch.immediate = true;
        const qint64 id = store.add(batch, planFor(3));
        ASSERT_TRUE(store.start(id, QStringLiteral("24/12/2026 09:00:00")));
        const int taken = store.claim(id, row.runner, {}, 1).constFirst().position;
        if (row.runner.isEmpty())
            store.release(id, {taken});
        Statement when(*archive.open(book()),
                       "UPDATE programmati_destinatari SET Preso = ? WHERE programma = ?");
        when.bind(1, now.addSecs(-row.takenAgo).toString(Qt::ISODate));
        when.bind(2, id);
        when.step();
        const QList<ScheduledBatch> offered = store.interrupted();
        EXPECT_EQ(!offered.isEmpty() && offered.constLast().id == id, row.offered)
            << row.runner.toStdString();
        store.close(id);
    }
}
