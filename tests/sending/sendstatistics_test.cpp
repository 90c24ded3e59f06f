#include "contacts/bookcatalog.h"
#include "sending/scheduledstore.h"
#include "sending/sendstatistics.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

using namespace parlix;

namespace {

QDate day(int y, int m, int d)
{
    return QDate(y, m, d);
}

// One recipient of a journal batch: what its runner reported, if anything.
struct Served
{
    long result;
    int accepted;
    bool reported = true; // false: taken by a runner that died
};

class SendStatisticsTest : public ::testing::TestWithParam<test::Backend>
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(BookCatalog(home.state).create(QStringLiteral("Clienti")), BookCatalog::Outcome::Done);
        const QString twoParts(170, u'x');
        // Sent before the journal: three numbers, two SMS each.
        home.addMessage(QStringLiteral("Principale"), QStringLiteral("inviati"), QStringLiteral("<lista>"),
                        QStringLiteral("3331;3332;3333"), QStringLiteral("28/12/2025 10:00:00"), twoParts);
        // A Data in a form that is no date counts nowhere.
        home.addMessage(QStringLiteral("Principale"), QStringLiteral("inviati"), QStringLiteral(" "),
                        QStringLiteral("3331"), QStringLiteral("2026-01-05 10:00"), QStringLiteral("a"));
        send(QStringLiteral("Principale"), QStringLiteral("05/01/2026 10:00:00"), twoParts,
             {{0, 2}, {3, 0}, {12002, 1}, {0, 0, false}});
        send(QStringLiteral("Principale"), QStringLiteral("20/01/2026 18:30:00"), QStringLiteral("Ciao"),
             {{0, 1}, {0, 0, false}});
        send(QStringLiteral("Clienti"), QStringLiteral("02/02/2026 09:00:00"), QStringLiteral("Ciao"),
             {{0, 1}});
        // Stored, never left: nothing counts.
        ScheduledBatch later;
        later.due = QDateTime(day(2026, 2, 2), QTime(12, 0));
        later.text = QStringLiteral("Ciao");
        ScheduledStore(*home.state.store, home.state.folder.bookPath(QStringLiteral("Clienti")))
            .add(later, {{QStringLiteral("3339"), later.text, {later.text}}});
    }

    // A batch that left at `date`, with the last recipient never taken and
    // the rest served as `served` says.
    void send(const QString& book, const QString& date, const QString& text,
              const std::vector<Served>& served)
    {
        ScheduledStore store(*home.state.store, home.state.folder.bookPath(book));
        QList<RecipientMessage> recipients;
        for (std::size_t i = 0; i <= served.size(); ++i)
            recipients.append({QStringLiteral("33300%1").arg(i), text, {text.left(160), text.mid(160)}});
        for (RecipientMessage& recipient : recipients)
            recipient.parts.removeAll(QString());
        ScheduledBatch batch;
        batch.due = QDateTime(day(2026, 1, 1), QTime(0, 0));
        batch.text = text;
        batch.cognome = QStringLiteral("<lista>");
        batch.cellulare = QStringLiteral("3330");
        const qint64 id = store.add(batch, recipients);
        ASSERT_TRUE(store.start(id, date));
        const QList<RecipientClaim> claims =
            store.claim(id, QStringLiteral("runner"), {}, int(served.size()));
        ASSERT_EQ(claims.size(), qsizetype(served.size()));
        QList<RecipientResult> results;
        for (std::size_t i = 0; i < served.size(); ++i) {
            if (served[i].reported)
                results.append({claims[qsizetype(i)].position, served[i].result, served[i].accepted});
        }
        store.report(id, results);
    }

    test::TestHome home{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(BothStores, SendStatisticsTest,
                         ::testing::Values(test::Backend::Files, test::Backend::Postgres),
                         [](const auto& info) { return test::backendName(info.param); });

QString counts(const SmsCounts& c)
{
    return QStringLiteral("%1/%2/%3").arg(c.accepted).arg(c.refused).arg(c.inDoubt);
}

// Each period as "first day: total [book, book...]".
QStringList periods(const SendStatistics& stats)
{
    QStringList lines;
    for (const StatisticsPeriod& period : stats.periods) {
        QStringList books;
        for (const SmsCounts& book : period.books)
            books << counts(book);
        lines << period.start.toString(u"dd/MM") + u'-' + period.end.toString(u"dd/MM") + u' ' +
                     counts(period.total) + QStringLiteral(" [") + books.join(u',') + u']';
    }
    return lines;
}

} // namespace

// Accepted/refused/in doubt per period and per book, and the forecast.
TEST_P(SendStatisticsTest, CountsEachSmsOnceByItsAnswerAndForecastsTheCredit)
{
    struct Row
    {
        QDate from, to;
        StatisticsStep step;
        QDate today;
        QString residui; // empty: no file
        QStringList books;
        QStringList periods;
        qint64 lastDays;
        std::optional<QDate> runsOut;
    };
    const Row rows[] = {
        {day(2025, 12, 1),
         day(2026, 2, 28),
         StatisticsStep::Month,
         day(2026, 2, 3),
         QStringLiteral("100"),
         {QStringLiteral("Principale"), QStringLiteral("Clienti")},
         {QStringLiteral("01/12-31/12 6/0/0 [6/0/0,0/0/0]"),
          QStringLiteral("01/01-31/01 4/2/4 [4/2/4,0/0/0]"),
          QStringLiteral("01/02-28/02 1/0/0 [0/0/0,1/0/0]")},
         5,
         day(2026, 2, 3).addDays(600)},
        {day(2026, 1, 1),
         day(2026, 1, 31),
         StatisticsStep::Week,
         day(2026, 1, 10),
         QStringLiteral("12.5"),
         {QStringLiteral("Principale")},
         {QStringLiteral("01/01-04/01 0/0/0 [0/0/0]"), QStringLiteral("05/01-11/01 3/2/3 [3/2/3]"),
          QStringLiteral("12/01-18/01 0/0/0 [0/0/0]"), QStringLiteral("19/01-25/01 1/0/1 [1/0/1]"),
          QStringLiteral("26/01-31/01 0/0/0 [0/0/0]")},
         9,
         day(2026, 1, 10).addDays(42)},
        {day(2026, 2, 2),
         day(2026, 2, 2),
         StatisticsStep::Day,
         day(2026, 6, 1),
         QStringLiteral("50"),
         {QStringLiteral("Clienti")},
         {QStringLiteral("02/02-02/02 1/0/0 [1/0/0]")},
         0,
         std::nullopt},
        {day(2026, 3, 1),
         day(2026, 3, 31),
         StatisticsStep::Month,
         day(2026, 2, 2),
         QStringLiteral("0"),
         {},
         {QStringLiteral("01/03-31/03 0/0/0 []")},
         5,
         day(2026, 2, 2)},
        {day(2026, 3, 1),
         day(2026, 2, 1),
         StatisticsStep::Day,
         day(2026, 1, 20),
         QString(),
         {},
         {},
         10,
         std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.from.toString(Qt::ISODate) + u' ' + statisticsStepWord(row.step)).toStdString());
        if (row.residui.isEmpty())
            QFile::remove(home.path(QStringLiteral("residui.txt")));
        else
            home.writeFile(QStringLiteral("residui.txt"), {row.residui});
        const SendStatistics stats =
            readSendStatistics(*home.seat(), home.state.folder, {row.from, row.to, row.step, row.today});
        EXPECT_EQ(stats.books, row.books);
        EXPECT_EQ(periods(stats), row.periods);
        EXPECT_EQ(stats.forecast.acceptedLastDays, row.lastDays);
        EXPECT_EQ(stats.forecast.runsOut, row.runsOut);
        EXPECT_TRUE(stats.unreadable.isEmpty()) << stats.unreadable.join(u'\n').toStdString();
    }
}
