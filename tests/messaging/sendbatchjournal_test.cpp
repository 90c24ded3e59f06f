#include "batchsupport.h"
#include "messaging/sendbatch.h"
#include "sending/scheduledstore.h"
#include "sending/sentoutcome.h"
#include "store/database.h"
#include "store/recordset.h"

#include <gtest/gtest.h>

#include <string>

#include <optional>

using namespace parlix;
using parlix::test::multipleRequest;
using parlix::test::SandboxHome;
using parlix::test::waitUntil;
using State = RecipientEntry::State;

namespace {

QStringList numbers(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("3330%1").arg(i, 6, 10, QChar(u'0'));
    return list;
}

QString journalPath(const SandboxHome& box)
{
    return box.home.state.folder.bookPath(QStringLiteral("Principale"));
}

// The journal holds each recipient's answer as the gateway gave it, and the
// credit file follows the batch: every credit the window shows is already in
// residui.txt, and it shows more than the final one.
TEST(SendBatchJournal, RecordsEachAnswerAndKeepsTheCreditFileUpToDate)
{
    SandboxHome box({"--credit", "10", "--delay", "60", "--refuse", "+393330000002"});
    box.home.dialogs.expectMessage(QStringLiteral("Alcuni messaggi non Inviati."), MessageIcon::None);
    std::vector<std::pair<double, QString>> credits; // shown, and in the file at that moment
    std::optional<SendBatch::Outcome> outcome;
    {
        SendBatch batch(box.home.context(), box.factory());
        QObject::connect(&batch, &SendBatch::creditChanged,
                         [&](double remaining) { credits.emplace_back(remaining, box.residui()); });
        QObject::connect(&batch, &SendBatch::finished, [&](SendBatch::Outcome o) { outcome = o; });
        batch.start(multipleRequest(numbers(5), QStringLiteral("Avviso")));
        ASSERT_TRUE(waitUntil([&] { return outcome.has_value(); }));
    }
    EXPECT_EQ(outcome, SendBatch::Outcome::Completed);
    ASSERT_GE(credits.size(), 2U);
    for (std::size_t i = 0; i < credits.size(); ++i) {
        // Written before it was shown; the worker may already have written a later answer's.
        ASSERT_TRUE(credits[i].second.endsWith(QStringLiteral("\r\n"))) << i;
        EXPECT_LE(credits[i].second.trimmed().toDouble(), credits[i].first) << i;
        EXPECT_GE(credits[i].second.trimmed().toDouble(), 6.0) << i;
        if (i > 0) {
            EXPECT_LE(credits[i].first, credits[i - 1].first) << i;
        }
    }
    EXPECT_EQ(credits.back().first, 6.0);
    EXPECT_EQ(box.residui(), QStringLiteral("6\r\n"));
    EXPECT_EQ(box.home.state.credito, 6.0);

    ScheduledStore journal(*box.home.state.store, journalPath(box));
    EXPECT_TRUE(journal.interrupted().empty());
    const auto batch = journal.batch(1);
    ASSERT_TRUE(batch);
    EXPECT_EQ(batch->state, ScheduledBatch::State::Done);
    EXPECT_EQ(batch->sentDate, QStringLiteral("14/03/2026 09:26:53"));
    EXPECT_EQ(batch->text, QStringLiteral("Avviso"));
    EXPECT_EQ(batch->account, QStringLiteral("demo"));
    const auto entries = journal.entries(1);
    ASSERT_EQ(entries.size(), 5U);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].number, numbers(5).at(qsizetype(i))) << i;
        EXPECT_EQ(entries[i].state, i == 2 ? State::Refused : State::Accepted) << i;
        EXPECT_EQ(entries[i].result != 0, i == 2) << i;
    }
    // The record in inviati is the one it always was.
    EXPECT_EQ(box.sentRecords(), QStringList{QStringLiteral("<lista>|") + numbers(5).join(u';') +
                                             QStringLiteral("|14/03/2026 09:26:53|Avviso")});
}

// A batch stopped half-way (the window closed, or the process ended) leaves
// an interrupted batch whose served recipients are exactly those the gateway
// took, and the credit file already counts them.
TEST(SendBatchJournal, ABatchStoppedHalfWayTellsWhoWasServed)
{
    // A slow gateway (a block of one recipient) and a fast one (blocks of several).
    const struct
    {
        const char* delay;
        int count;
        int credit;
    } rows[] = {{"50", 40, 100}, {"0", 2000, 5000}};
    for (const auto& row : rows) {
        SandboxHome box({"--delay", row.delay, "--credit", std::to_string(row.credit)});
        int sent = 0;
        {
            SendBatch batch(box.home.context(), box.factory());
            QObject::connect(&batch, &SendBatch::progressChanged, [&](int i, int) { sent = i; });
            batch.start(multipleRequest(numbers(row.count), QStringLiteral("x")));
            ASSERT_TRUE(waitUntil([&] { return sent >= 3; })) << row.delay;
        }
        const qsizetype served = box.sentSms().size();
        ASSERT_LT(served, row.count) << row.delay;

        ScheduledStore journal(*box.home.state.store, journalPath(box));
        const auto interrupted = journal.interrupted();
        ASSERT_EQ(interrupted.size(), 1) << row.delay;
        int accepted = 0;
        int waiting = 0;
        for (const auto& entry : journal.entries(interrupted[0].id)) {
            accepted += entry.state == State::Accepted;
            waiting += entry.state == State::Waiting;
        }
        EXPECT_EQ(accepted, served) << row.delay;
        EXPECT_EQ(waiting, row.count - served) << row.delay;
        EXPECT_EQ(box.residui(), QStringLiteral("%1\r\n").arg(row.credit - served)) << row.delay;
    }
}

// Two batches sent in the same second with the same text: "Esito Invio" on
// each row of inviati shows that row's own recipients, and a row no batch
// wrote shows none, however alike their dates and texts.
TEST(SendBatchJournal, EachSentRowShowsTheOutcomeOfItsOwnBatch)
{
    SandboxHome box({"--refuse", "+393330000003"});
    const QString text = QStringLiteral("Avviso");
    const QStringList first = numbers(2);
    const QStringList second = numbers(4).mid(2);
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    box.home.dialogs.expectMessage(QStringLiteral("Alcuni messaggi non Inviati."), MessageIcon::None);
    for (const QStringList& list : {first, second}) {
        std::optional<SendBatch::Outcome> outcome;
        SendBatch batch(box.home.context(), box.factory());
        QObject::connect(&batch, &SendBatch::finished, [&](SendBatch::Outcome o) { outcome = o; });
        batch.start(multipleRequest(list, text));
        ASSERT_TRUE(waitUntil([&] { return outcome.has_value(); }));
    }
    const QString data = QStringLiteral("14/03/2026 09:26:53");
    box.home.addMessage(QStringLiteral("Principale"), QStringLiteral("inviati"), QStringLiteral("<lista>"),
                        QStringLiteral("3339999999"), data, text);

    std::map<std::string, std::string> shown; // by the row's numbers
    Recordset rows(Database::open(journalPath(box)), queries::wholeTable(QStringLiteral("inviati")));
    for (; !rows.eof(); rows.moveNext()) {
        shown[rows.field(u"cellulare").toStdString()] =
            sentOutcomeLines(*box.home.state.store, journalPath(box), rows.rowid(), data, text)
                .join(u'|')
                .toStdString();
    }
    const std::map<std::string, std::string> expected = {
        {first.join(u';').toStdString(), "3330000000: accettato|3330000001: accettato"},
        {second.join(u';').toStdString(),
         "3330000002: accettato|3330000003: rifiutato: " + refusalReason(11).toStdString()},
        {"3339999999", ""},
    };
    EXPECT_EQ(shown, expected);
}

// A clock that moves on a second each time it is read.
class TickingClock : public Clock
{
public:
    QDateTime now() const override { return start_.addSecs(ticks_++); }

private:
    QDateTime start_{QDate(2026, 3, 14), QTime(9, 26, 59)};
    mutable int ticks_ = 0;
};

// The batch's journal and its row in inviati carry the same date even when
// the clock turns a second between the two, so the outcome is found.
TEST(SendBatchJournal, TheJournalAndTheRowShareTheirDateWhateverTheClockDoes)
{
    SandboxHome box;
    TickingClock clock;
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    std::optional<SendBatch::Outcome> outcome;
    SendBatch batch(AppContext{box.home.state, box.home.dialogs, clock}, box.factory());
    QObject::connect(&batch, &SendBatch::finished, [&](SendBatch::Outcome o) { outcome = o; });
    batch.start(multipleRequest(numbers(1), QStringLiteral("Avviso")));
    ASSERT_TRUE(waitUntil([&] { return outcome.has_value(); }));

    Recordset rows(Database::open(journalPath(box)), queries::wholeTable(QStringLiteral("inviati")));
    ASSERT_FALSE(rows.eof());
    EXPECT_EQ(sentOutcomeLines(*box.home.state.store, journalPath(box), rows.rowid(), rows.field(u"Data"),
                               QStringLiteral("Avviso")),
              QStringList{QStringLiteral("3330000000: accettato")});
}

} // namespace
