#include "core/programstate.h"
#include "sending/optoutline.h"
#include "sending/optoutnumber.h"
#include "sending/optoutregister.h"
#include "sending/sendpreparation.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

using namespace parlix;
using namespace parlix::test;

namespace {

TEST(OptOutNumber, FormsOfOneNumberMatchAndOthersDoNot)
{
    const struct
    {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"+39 333 1234567", "3331234567", true},      {"00393331234567", "3331234567", true},
        {"+39 (333) 123-4567", "333.123.4567", true}, {"+41 79 123 45 67", "0041791234567", true},
        {"3331234567", "3331234568", false},      // another number
        {"3331234567", "+44 333 1234567", false}, // same digits, another country
        {"3331234567", "03331234567", false},     // the Italian leading zero is part of the number
        {"3331234567", "333123456", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " / " + row.b);
        const auto a = optOutKey(QString::fromUtf8(row.a)), b = optOutKey(QString::fromUtf8(row.b));
        ASSERT_TRUE(a && b);
        EXPECT_EQ(*a == *b, row.same);
        EXPECT_EQ(OptOutList({*a}).contains(QString::fromUtf8(row.b)), row.same) << "as a batch checks it";
    }
    for (const char* bad : {"", "  ", "333abc4567", "12", "+39 333 1234567 int. 5"})
        EXPECT_EQ(optOutKey(QString::fromUtf8(bad)), std::nullopt) << bad;
}

class OptOutRegisterTest : public ::testing::TestWithParam<Backend>
{
protected:
    TestHome home{GetParam()};
    OptOutRegister optOut{*home.state.store, home.state.folder.bookList()};
    QDateTime at(int minute) const { return QDateTime(QDate(2026, 3, 14), QTime(9, minute)); }
    // Every entry as "number|typed|added|source|file|note|removed".
    QStringList rows(bool withRemoved = true)
    {
        QStringList seen;
        for (const OptOutEntry& e : optOut.entries({}, withRemoved))
            seen << QStringList{e.number, e.typed, e.added, e.source, e.file, e.note, e.removed}.join(u'|');
        return seen;
    }
};

INSTANTIATE_TEST_SUITE_P(BothStores, OptOutRegisterTest, ::testing::Values(Backend::Files, Backend::Postgres),
                         [](const auto& info) { return backendName(info.param); });

TEST_P(OptOutRegisterTest, KeepsDateSourceAndNoteAndTellsARemovalFromANumberNeverThere)
{
    using Added = OptOutRegister::Added;
    using Removed = OptOutRegister::Removed;
    using Source = OptOutRegister::Source;
    EXPECT_TRUE(optOut.honoured().isEmpty()) << "no table yet";
    EXPECT_EQ(optOut.add(QStringLiteral("+39 333 1234567"), Source::Typed, {}, QStringLiteral("al telefono"),
                         at(1)),
              Added::Added);
    EXPECT_EQ(optOut.add(QStringLiteral("00393331234567"), Source::Typed, {}, {}, at(2)),
              Added::AlreadyThere);
    EXPECT_EQ(optOut.add(QStringLiteral("tre tre tre"), Source::Typed, {}, {}, at(2)), Added::NotANumber);
    const OptOutRegister::ImportTally tally = optOut.import({QStringLiteral("Cellulare;Nome"),
                                                             QStringLiteral("3331234567;Mario"),
                                                             QStringLiteral("\"3479999999\",x"),
                                                             {},
                                                             QStringLiteral("3480000000")},
                                                            QStringLiteral("/tmp/stop.csv"), at(3));
    EXPECT_EQ(tally.added, 2);
    EXPECT_EQ(tally.alreadyThere, 1);
    EXPECT_EQ(tally.skipped, QStringList{QStringLiteral("riga 1: Cellulare;Nome")});

    EXPECT_EQ(optOut.remove(QStringLiteral("347 9999999"), at(4)), Removed::Removed);
    EXPECT_EQ(optOut.remove(QStringLiteral("3479999999"), at(5)), Removed::NotThere) << "already removed";
    EXPECT_EQ(optOut.remove(QStringLiteral("3201111111"), at(5)), Removed::NotThere);
    EXPECT_EQ(rows(),
              (QStringList{
                  QStringLiteral("+393331234567|+39 333 1234567|14/03/2026 09:01:00|digitato||al telefono|"),
                  QStringLiteral("+393479999999|3479999999|14/03/2026 09:03:00|importato|stop.csv||"
                                 "14/03/2026 09:04:00"),
                  QStringLiteral("+393480000000|3480000000|14/03/2026 09:03:00|importato|stop.csv||"),
              }));
    EXPECT_EQ(rows(false).size(), 2);
    const OptOutList honoured = optOut.honoured();
    EXPECT_TRUE(honoured.contains(QStringLiteral("3331234567")));
    EXPECT_FALSE(honoured.contains(QStringLiteral("3479999999"))) << "removed";
    EXPECT_EQ(optOut.entries(QStringLiteral("telefono")).size(), 1);
    EXPECT_EQ(optOut.entries(QStringLiteral("0039 348 0000000")).size(), 1);

    // Registered again: honoured again, the removal forgotten.
    EXPECT_EQ(optOut.add(QStringLiteral("3479999999"), Source::Typed, {}, {}, at(6)), Added::Restored);
    EXPECT_TRUE(optOut.honoured().contains(QStringLiteral("+393479999999")));
    EXPECT_EQ(optOut.find(QStringLiteral("3479999999"))->removed, QString());
}

TEST(SendPreparationOptOut, RegisteredNumbersAndTheOptOutLineShapeTheBatch)
{
    TestHome home;
    OptOutRegister(*home.state.store, home.state.folder.bookList())
        .add(QStringLiteral("3334445555"), OptOutRegister::Source::Typed, {}, {}, home.clock.now());
    const QString a = QStringLiteral("3331112222"), out = QStringLiteral("00393334445555");
    const QString excluded1 = OptOutRegister::excludedText(1);
    const struct
    {
        const char* what;
        bool multiple;
        QStringList numbers;
        QString text;
        QString line;
        QString refusal;     // or:
        QString firstPrompt; // the first box shown
        int sms;
        QString sentText; // the first SMS of the batch
    } rows[] = {
        {"single to a registered number",
         false,
         {out},
         QStringLiteral("Ciao"),
         {},
         OptOutRegister::refusalText(out),
         {},
         0,
         {}},
        {"list with one registered",
         true,
         {a, out},
         QStringLiteral("Ciao"),
         {},
         {},
         excluded1 + QStringLiteral("\nSMS da inviare: 1."),
         1,
         QStringLiteral("Ciao")},
        {"a list of one registered",
         true,
         {out},
         QStringLiteral("Ciao"),
         {},
         OptOutRegister::refusalText(out),
         {},
         0,
         {}},
        {"the line is appended to a list",
         true,
         {a},
         QStringLiteral("Offerta"),
         QStringLiteral("Rispondi STOP"),
         {},
         SendPreparation::multipleNotice(),
         1,
         QStringLiteral("Offerta\r\nRispondi STOP")},
        {"the line makes a list's text too long",
         true,
         {a},
         QString(150, u'x'),
         QStringLiteral("Rispondi STOP"),
         QStringLiteral(
             "Gli SMS Multipli non possono superare 160 caratteri: il testo ne contiene 165. Accorciare "
             "il testo prima dell'invio."),
         {},
         0,
         {}},
        {"with fields the line counts in the split and the credit",
         true,
         {a},
         QString(150, u'x') + QStringLiteral("{Nome}"),
         QStringLiteral("Rispondi STOP"),
         {},
         SendPreparation::multipleNotice(),
         2,
         QString(150, u'x') + QStringLiteral("\r\nRispondi")},
        {"no line on a single SMS",
         false,
         {a},
         QStringLiteral("Ciao"),
         QStringLiteral("Rispondi STOP"),
         {},
         {},
         1,
         QStringLiteral("Ciao")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(OptOutLine::save(home.state.folder, row.line));
        TypedMessage typed;
        typed.multiple = row.multiple;
        typed.number = row.numbers.value(0);
        typed.recipients = row.numbers;
        typed.text = row.text;
        typed.book = QStringLiteral("Principale");
        const auto made = SendPreparation::prepare(typed, *home.state.store,
                                                   home.state.folder.bookPath(QStringLiteral("Principale")),
                                                   SendPreparation::When::Now);
        if (const Refusal* refusal = std::get_if<Refusal>(&made)) {
            EXPECT_EQ(refusal->text, row.refusal);
            continue;
        }
        ASSERT_TRUE(row.refusal.isEmpty());
        const SendPreparation& prepared = std::get<SendPreparation>(made);
        EXPECT_EQ(prepared.prompts().value(0).text, row.firstPrompt);
        EXPECT_EQ(prepared.smsCount(), row.sms);
        EXPECT_EQ(prepared.request().smsCount(), row.sms) << "the credit the window checks";
        EXPECT_EQ(prepared.request().messages().value(0).second.left(row.sentText.size()), row.sentText);
    }
}

} // namespace
