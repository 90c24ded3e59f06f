#include "messaging/batchplan.h"
#include "messaging/scheduledstore.h"
#include "store/database.h"
#include "store/store.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

#include <set>

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
    EXPECT_TRUE(store.due(at(12)).isEmpty());
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

    struct Row
    {
        QDateTime now;
        QList<qint64> due;
    } rows[] = {{at(8, 59), {}}, {at(9), {early}}, {at(18, 29), {early}}, {at(23), {early, late}}};
    for (const Row& row : rows)
        EXPECT_EQ(store.due(row.now), row.due) << row.now.toString().toStdString();

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
    EXPECT_TRUE(first.due(at(23)).isEmpty());
    EXPECT_EQ(first.batch(id)->state, ScheduledBatch::State::Done);
}
