#include "batchsupport.h"
#include "messaging/sendbatch.h"
#include "sending/batchjournal.h"
#include "sending/interruptedbatches.h"
#include "tests/support/crashchild.h"

#include <QDir>

#include <gtest/gtest.h>

#include <optional>

#ifndef PARLIX_BATCHCHILD
#error "PARLIX_BATCHCHILD must name the batch helper"
#endif

using namespace parlix;
using parlix::test::SandboxHome;

namespace {

constexpr int recipients = 8;

QStringList numbers()
{
    QStringList list;
    for (int i = 0; i < recipients; ++i)
        list << QStringLiteral("333%1").arg(i, 7, 10, QChar(u'0'));
    return list;
}

// How many SMS the sandbox took for each number, without its "+39".
QMap<QString, int> takenByNumber(const SandboxHome& box)
{
    QMap<QString, int> taken;
    for (const QString& sms : box.sentSms())
        ++taken[sms.section(u'|', 0, 0).mid(3)];
    return taken;
}

// A batch killed after some recipients were answered, or while one was
// being sent, leaves a sound book whose journal tells exactly the recipients
// answered; the next start offers only those never tried (not the one cut
// mid-exchange, which the gateway may have taken), residui.txt holds the
// credit of the last recorded answer, and sending to the offered recipients
// serves each recipient of the batch at most once.
TEST(BatchCrashSafety, KilledPartWayTheNextStartOffersOnlyTheRecipientsNeverTried)
{
    struct Case
    {
        const char* faultPoint;
        int hits; // the recipient (1-based) at which the batch dies
        int parts;
        int answered;
        int cut; // left "sending": 1 while a recipient's exchange was under way
        bool gatewayTookTheCutOne;
        // A gateway on this machine with no delay: recipients are marked in
        // blocks, so only the bounds hold, not the exact counts.
        bool fast = false;
    };
    const Case cases[] = {
        {"batch.sending", 1, 1, 0, 1, false},
        {"batch.sending", 4, 1, 3, 1, false},
        {"batch.sent", 4, 1, 3, 1, true},
        {"batch.sending", 3, 2, 2, 1, false},
        {"batch.sent", 3, 2, 2, 1, true},
        {"batch.finish", 1, 1, recipients, 0, false},
        // Blocks of several recipients, the next one taken while the current one goes.
        {"batch.sent", 6, 1, 5, 1, true, true},
    };
    for (const Case& c : cases) {
        const QString row = QStringLiteral("%1 #%2, %3 SMS each")
                                .arg(QString::fromLatin1(c.faultPoint))
                                .arg(c.hits)
                                .arg(c.parts);
        // A gateway slower than a commit: one recipient a block, exact counts.
        SandboxHome box(c.fast ? std::vector<std::string>{"--credit", "100"}
                               : std::vector<std::string>{"--credit", "100", "--delay", "5"});
        const auto child = test::startChild(QStringLiteral(PARLIX_BATCHCHILD),
                                            {box.home.dir.path(), QString::fromStdString(box.sandbox.host()),
                                             QString::number(recipients), QString::number(c.parts)},
                                            QString::fromLatin1(c.faultPoint), c.hits);
        ASSERT_TRUE(test::diedAtFaultPoint(*child)) << qPrintable(row);

        const QString book = box.home.state.folder.bookPath(QStringLiteral("Principale"));
        EXPECT_EQ(test::integrity(book), QStringLiteral("ok")) << qPrintable(row);
        EXPECT_EQ(box.sentRecords().size(), 1) << qPrintable(row);
        const int cut = c.cut;
        const auto found = findInterruptedBatches(box.home.state.folder);
        ASSERT_EQ(found.size(), 1U) << qPrintable(row);
        EXPECT_EQ(found[0].total, recipients) << qPrintable(row);
        if (c.fast) {
            // Six taken, the sixth's answer not recorded: every one taken is
            // counted as accepted or in doubt, and none of them is offered again.
            const auto& batch = found[0];
            EXPECT_LE(batch.accepted, 5) << qPrintable(row);
            EXPECT_GE(batch.accepted + batch.uncertain, 6) << qPrintable(row);
            EXPECT_EQ(batch.accepted + batch.uncertain + batch.unserved.size(), recipients)
                << qPrintable(row);
            const QMap<QString, int> taken = takenByNumber(box);
            EXPECT_EQ(taken.size(), 6) << qPrintable(row);
            for (const QString& number : batch.unserved)
                EXPECT_FALSE(taken.contains(number)) << qPrintable(row + QStringLiteral(": ") + number);
            EXPECT_EQ(test::integrity(book), QStringLiteral("ok")) << qPrintable(row);
            continue;
        }
        EXPECT_EQ(found[0].accepted, c.answered) << qPrintable(row);
        EXPECT_EQ(found[0].refused, 0) << qPrintable(row);
        EXPECT_EQ(found[0].uncertain, cut) << qPrintable(row);
        const QStringList unserved = numbers().mid(c.answered + cut);
        EXPECT_EQ(found[0].unserved, unserved) << qPrintable(row);

        QMap<QString, int> taken = takenByNumber(box);
        EXPECT_EQ(taken.size(), c.answered + (c.gatewayTookTheCutOne ? 1 : 0)) << qPrintable(row);
        for (const QString& number : unserved)
            EXPECT_FALSE(taken.contains(number)) << qPrintable(row + QStringLiteral(": ") + number);
        EXPECT_EQ(box.residui(), QStringLiteral("%1\r\n").arg(100 - c.answered * c.parts)) << qPrintable(row);

        // The next start: told once, then the offered recipients get the text.
        closeInterruptedBatch(box.home.state.folder, found[0]);
        EXPECT_TRUE(findInterruptedBatches(box.home.state.folder).empty()) << qPrintable(row);
        if (!unserved.isEmpty()) {
            const BatchRequest request = test::multipleRequest(unserved, QStringLiteral("Di nuovo"));
            box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                           MessageIcon::Information);
            std::optional<SendBatch::Outcome> outcome;
            SendBatch batch(box.home.context(), box.factory());
            QObject::connect(&batch, &SendBatch::finished, [&](SendBatch::Outcome o) { outcome = o; });
            batch.start(request);
            ASSERT_TRUE(test::waitUntil([&] { return outcome.has_value(); })) << qPrintable(row);
            EXPECT_EQ(outcome, SendBatch::Outcome::Completed) << qPrintable(row);
            EXPECT_EQ(box.residui(), QStringLiteral("%1\r\n").arg(100 - box.sentSms().size()))
                << qPrintable(row);
        }

        taken = takenByNumber(box);
        for (int i = 0; i < recipients; ++i) {
            const QString number = numbers().at(i);
            const bool lost = cut == 1 && i == c.answered && !c.gatewayTookTheCutOne;
            const int expected = lost ? 0 : i < c.answered + cut ? c.parts : 1;
            EXPECT_EQ(taken.value(number), expected) << qPrintable(row + QStringLiteral(": ") + number);
        }
        EXPECT_EQ(test::integrity(book), QStringLiteral("ok")) << qPrintable(row);
        // The journal's rollback file is gone once the book is written again.
        EXPECT_EQ(QDir(box.home.path(QStringLiteral("rubriche"))).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("Principale")})
            << qPrintable(row);
    }
}

} // namespace
