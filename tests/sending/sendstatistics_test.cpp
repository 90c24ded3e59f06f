#include "contacts/bookcatalog.h"
#include "sending/messagesplitter.h"
#include "sending/scheduledstore.h"
#include "sending/sendstatistics.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

using namespace parlix;

namespace {

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
    }

    // A batch that left at `date`, with the last recipient never taken and
    // the rest served as `served` says.
    void send(const QString& book, const QString& date, const QString& text,
              const std::vector<Served>& served)
    {
        ScheduledStore store(*home.state.store, home.state.folder.bookPath(book));
        QList<RecipientMessage> recipients;
        for (std::size_t i = 0; i <= served.size(); ++i)
            recipients.append({QStringLiteral("33300%1").arg(i), text, MessageSplitter::fixed(text), {}});
        ScheduledBatch batch;
        batch.due = QDateTime(QDate(2026, 1, 1), QTime(0, 0));
        batch.text = text;
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

// Each period as "first-last total [book,book...]", periods joined by "; ".
QString periods(const SendStatistics& stats)
{
    QStringList lines;
    for (const StatisticsPeriod& period : stats.periods) {
        QStringList books;
        for (const SmsCounts& book : period.books)
            books << counts(book);
        lines << period.start.toString(u"dd/MM") + u'-' + period.end.toString(u"dd/MM") + u' ' +
                     counts(period.total) + QStringLiteral(" [") + books.join(u',') + u']';
    }
    return lines.join(QStringLiteral("; "));
}

} // namespace

// Accepted/refused/in doubt per period and per book, and the forecast.
TEST_P(SendStatisticsTest, CountsEachSmsOnceByItsAnswerAndForecastsTheCredit)
{
    const auto day = [](const char* iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); };
    struct Row
    {
        const char *from, *to, *by, *today, *residui; // residui: "" for no file
        const char* books;
        const char* periods;
        qint64 lastDays;
        const char* runsOut; // "" for none
    };
    const Row rows[] = {
        {"2025-12-01", "2026-02-28", "month", "2026-02-03", "100", "Principale,Clienti",
         "01/12-31/12 6/0/0 [6/0/0,0/0/0]; 01/01-31/01 4/2/4 [4/2/4,0/0/0]; 01/02-28/02 1/0/0 [0/0/0,1/0/0]",
         5, "2027-09-26"}, // 600 days
        {"2026-01-01", "2026-01-31", "week", "2026-01-10", "12.5", "Principale",
         "01/01-04/01 0/0/0 [0/0/0]; 05/01-11/01 3/2/3 [3/2/3]; 12/01-18/01 0/0/0 [0/0/0]; "
         "19/01-25/01 1/0/1 [1/0/1]; 26/01-31/01 0/0/0 [0/0/0]",
         9, "2026-02-21"}, // 42 days
        {"2026-02-02", "2026-02-02", "day", "2026-06-01", "50", "Clienti", "02/02-02/02 1/0/0 [1/0/0]", 0,
         ""},
        {"2026-03-01", "2026-03-31", "month", "2026-02-02", "0", "", "01/03-31/03 0/0/0 []", 5, "2026-02-02"},
        {"2026-03-01", "2026-02-01", "day", "2026-01-20", "", "", "", 10, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.from) + ' ' + row.by);
        if (*row.residui)
            home.writeFile(QStringLiteral("residui.txt"), {QString::fromLatin1(row.residui)});
        else
            QFile::remove(home.path(QStringLiteral("residui.txt")));
        const SendStatistics stats =
            readSendStatistics(*home.seat(), home.state.folder,
                               {day(row.from), day(row.to),
                                *statisticsStepFromWord(QString::fromLatin1(row.by)), day(row.today)});
        EXPECT_EQ(stats.books.join(u','), QString::fromLatin1(row.books));
        EXPECT_EQ(periods(stats), QString::fromLatin1(row.periods));
        EXPECT_EQ(stats.forecast.acceptedLastDays, row.lastDays);
        EXPECT_EQ(stats.forecast.runsOut, *row.runsOut ? std::optional(day(row.runsOut)) : std::nullopt);
        EXPECT_TRUE(stats.unreadable.isEmpty()) << stats.unreadable.join(u'\n').toStdString();
    }
}
