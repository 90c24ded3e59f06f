#include "sending/batchjournal.h"
#include "store/database.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

#include <latch>
#include <set>
#include <thread>

using namespace parlix;
using parlix::test::Backend;
using parlix::test::TestHome;
using State = BatchJournal::State;

namespace {

const QString principale = QStringLiteral("Principale");

class BatchJournalTest : public ::testing::TestWithParam<Backend>
{
protected:
    TestHome home{GetParam()};
    Store& store = *home.state.store;
};

INSTANTIATE_TEST_SUITE_P(BothStores, BatchJournalTest, ::testing::Values(Backend::Files, Backend::Postgres),
                         [](const auto& info) { return test::backendName(info.param); });

// A batch cut short after two answers and one send in flight: the journal
// tells who was served, who was refused and why, and offers again only the
// recipients never tried.
TEST_P(BatchJournalTest, AnInterruptedBatchOffersOnlyTheRecipientsNeverTried)
{
    home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral("<lista>"),
                    QStringLiteral("3331;3332;3333;3334"), QStringLiteral("14/03/2026 09:26:53"),
                    QStringLiteral("Ciao"));
    const QString book = home.state.folder.bookPath(principale);
    long long id = 0;
    {
        BatchJournal journal(store, book);
        id = journal.begin(QStringLiteral("14/03/2026 09:26:53"), QStringLiteral("Ciao"),
                           {{QStringLiteral("Rossi"), QStringLiteral("3331")},
                            {QStringLiteral("Bianchi"), QStringLiteral("3332")},
                            {QStringLiteral("Verdi"), QStringLiteral("3333")},
                            {QStringLiteral("Neri"), QStringLiteral("3334")}});
        journal.sending(id, 0);
        journal.answered(id, 0, 0);
        journal.sending(id, 1);
        journal.answered(id, 1, 11);
        journal.sending(id, 2);
        // The process ends here without finish().
    }

    BatchJournal journal(store, book);
    const auto interrupted = journal.interrupted();
    ASSERT_EQ(interrupted.size(), 1U);
    EXPECT_EQ(interrupted[0].id, id);
    EXPECT_EQ(interrupted[0].testo, QStringLiteral("Ciao"));
    EXPECT_FALSE(interrupted[0].finished);

    const struct
    {
        const char* number;
        State state;
        long result;
    } expected[] = {{"3331", State::Accepted, 0},
                    {"3332", State::Refused, 11},
                    {"3333", State::Sending, 0},
                    {"3334", State::Waiting, 0}};
    const auto entries = journal.entries(id);
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].recipient.cellulare, QString::fromLatin1(expected[i].number)) << i;
        EXPECT_EQ(entries[i].state, expected[i].state) << i;
        EXPECT_EQ(entries[i].result, expected[i].result) << i;
    }
    const auto unserved = journal.unserved(id);
    ASSERT_EQ(unserved.size(), 1U);
    EXPECT_EQ(unserved[0].cognome, QStringLiteral("Neri"));

    journal.finish(id);
    EXPECT_TRUE(journal.interrupted().empty());
    EXPECT_TRUE(journal.batch(id)->finished);
    // The inviati row stays as it was.
    EXPECT_EQ(home.rows(book, QStringLiteral("inviati")),
              QStringList{QStringLiteral("<lista>|3331;3332;3333;3334|14/03/2026 09:26:53|Ciao")});
}

TEST_P(BatchJournalTest, OlderBooksGetTheJournalAndUnreadableOnesAreReported)
{
    const QString book = home.state.folder.bookPath(principale);
    home.addContact(principale, QStringLiteral("Anna"), QStringLiteral("Neri"), QStringLiteral("3331234467"));
    {
        BatchJournal journal(store, book);
        EXPECT_TRUE(journal.interrupted().empty());
        EXPECT_FALSE(journal.batch(1));
    }
    EXPECT_EQ(home.rows(book, QStringLiteral("rubrica")).size(), 1);
    EXPECT_NO_THROW(BatchJournal(store, book)); // a second opening finds the tables in place
    EXPECT_THROW(BatchJournal(store, home.path(QStringLiteral("Prefissi.txt"))), StoreError);
}

// A journal whose batches were never tied to their inviati rows still opens,
// finds them by date and text, and ties the batches recorded from then on.
TEST(BatchJournal, AnOlderJournalGetsItsBatchesTiedToTheirRows)
{
    TestHome home;
    const QString book = home.state.folder.bookPath(principale);
    const QString data = QStringLiteral("14/03/2026 09:26:53");
    {
        auto db = Database::open(book);
        db->exec("CREATE TABLE lotti (id INTEGER PRIMARY KEY, Data TEXT, Testo TEXT,"
                 " concluso INTEGER NOT NULL DEFAULT 0);"
                 "CREATE TABLE destinatari (lotto INTEGER NOT NULL, posizione INTEGER NOT NULL,"
                 " cognome TEXT, cellulare TEXT, stato INTEGER NOT NULL DEFAULT 0,"
                 " esito INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (lotto, posizione));"
                 "INSERT INTO lotti (Data, Testo, concluso) VALUES ('14/03/2026 09:26:53', 'Ciao', 1);");
    }
    home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral(" "), QStringLiteral("3331"), data,
                    QStringLiteral("Ciao"));
    BatchJournal journal(*home.state.store, book);
    EXPECT_EQ(journal.find(1, data, QStringLiteral("Ciao")), 1);
    const long long tied = journal.begin(data, QStringLiteral("Ciao"), {{QString(), QStringLiteral("3332")}});
    home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral(" "), QStringLiteral("3332"), data,
                    QStringLiteral("Ciao"));
    journal.link(tied, QStringLiteral(" "), QStringLiteral("3332"));
    EXPECT_EQ(journal.find(2, data, QStringLiteral("Ciao")), tied);
    EXPECT_EQ(journal.find(1, data, QStringLiteral("Ciao")), 1);
}

} // namespace

// Two seats sending at the same moment from one book whose journal does not
// exist yet: the tables are made once, and each batch gets its own number and
// its own recipients.
TEST_P(BatchJournalTest, TwoSeatsSendingAtOnceEachKeepTheirOwnBatches)
{
    const QString book = home.state.folder.bookPath(principale);
    constexpr int batches = 8;
    std::vector<long long> ids[2];
    std::latch ready(2);
    std::thread seats[2];
    for (int s = 0; s < 2; ++s) {
        seats[s] = std::thread([&, s] {
            const auto own = home.seat();
            own->prepare(); // connected
            ready.arrive_and_wait();
            BatchJournal journal(*own, book);
            for (int b = 0; b < batches; ++b) {
                const QString number = QStringLiteral("333%1%2").arg(s).arg(b);
                ids[s].push_back(journal.begin(QStringLiteral("14/03/2026 09:26:53"),
                                               QStringLiteral("Posto %1").arg(s),
                                               {{QStringLiteral("Rossi"), number}}));
                journal.sending(ids[s].back(), 0);
                journal.answered(ids[s].back(), 0, 0);
            }
        });
    }
    for (std::thread& seat : seats)
        seat.join();

    BatchJournal journal(store, book);
    std::set<long long> distinct;
    for (int s = 0; s < 2; ++s) {
        ASSERT_EQ(ids[s].size(), size_t(batches));
        for (int b = 0; b < batches; ++b) {
            distinct.insert(ids[s][size_t(b)]);
            EXPECT_EQ(journal.batch(ids[s][size_t(b)])->testo, QStringLiteral("Posto %1").arg(s));
            const auto entries = journal.entries(ids[s][size_t(b)]);
            ASSERT_EQ(entries.size(), 1U);
            EXPECT_EQ(entries[0].recipient.cellulare, QStringLiteral("333%1%2").arg(s).arg(b));
            EXPECT_EQ(entries[0].state, State::Accepted);
        }
    }
    EXPECT_EQ(distinct.size(), size_t(2 * batches));
    EXPECT_EQ(journal.interrupted().size(), size_t(2 * batches));
}
