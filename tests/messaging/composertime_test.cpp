#include "batchsupport.h"
#include "core/programstate.h"
#include "messaging/composer.h"
#include "messaging/scheduledbatcheswindow.h"
#include "messaging/smscommands.h"
#include "sending/scheduleddispatcher.h"
#include "sending/scheduledstore.h"
#include "tests/support/modalpresser.h"
#include "ui/qtdialogs.h"

#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::SandboxHome;
using parlix::test::waitUntil;

namespace {

// The test clock reads 14/03/2026 09:26:53.
const QDateTime past(QDate(2026, 3, 14), QTime(9, 0));
const QString pastQuestion = QStringLiteral("L'ora scelta, 14/03/2026 09:00, è già passata: il messaggio non "
                                            "può partire a quell'ora.\nInviare subito?");
const QString sentNotice = QStringLiteral("Messaggio/i  inviato correttamente");

struct TimedComposer
{
    TimedComposer(SandboxHome& box, AppContext context, const QDateTime& at)
        : composer(context, box.factory(), {QStringLiteral("r1"), QStringLiteral("Principale")})
    {
        composer.preset(ComposerPreset::single(QStringLiteral("3331112222"), QStringLiteral("Rossi")));
        composer.show();
        QCoreApplication::processEvents();
        composer.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("Ciao"));
        composer.findChild<QDateTimeEdit*>(QStringLiteral("scheduleTime"))->setDateTime(at);
    }
    void schedule() { composer.findChild<QPushButton*>(QStringLiteral("scheduleButton"))->click(); }

    Composer composer;
};

QList<ScheduledBatch> waiting(SandboxHome& box)
{
    return ScheduledStore(*box.home.state.store, box.home.state.folder.bookPath(QStringLiteral("Principale")))
        .waiting();
}

TEST(ComposerTime, ATimeGoneByIsAskedAboutAndNeverKept)
{
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        SandboxHome box;
        TimedComposer open(box, box.home.context(), past);
        box.home.dialogs.expectMessage(pastQuestion, MessageIcon::Question, answer);
        if (answer == Answer::Yes)
            box.home.dialogs.expectMessage(sentNotice, MessageIcon::Information);
        open.schedule();
        ASSERT_TRUE(waitUntil([&] { return box.home.dialogs.done() && !open.composer.batchRunning(); }));
        EXPECT_TRUE(waiting(box).isEmpty());
        // No: the composer stays for another time; Yes: sent now, as by "Invia".
        EXPECT_EQ(open.composer.isVisible(), answer == Answer::No);
        EXPECT_EQ(box.sentSms(), answer == Answer::Yes
                                     ? QStringList{QStringLiteral("+393331112222|TEXT||Ciao")}
                                     : QStringList{});
    }
}

TEST(ComposerTimeJourney, YesInTheRealBoxSendsAtOnce)
{
    SandboxHome box;
    QtDialogs realDialogs;
    TimedComposer open(box, {box.home.state, realDialogs, box.home.clock}, past);
    test::ModalPresser presser;
    presser.press(QStringLiteral("Sì"));
    presser.press(QStringLiteral("OK"));
    open.schedule();
    ASSERT_TRUE(waitUntil([&] { return presser.done() && !open.composer.isVisible(); }));
    EXPECT_EQ(presser.texts(), (QStringList{pastQuestion, sentNotice}));
    EXPECT_EQ(box.sentSms(), QStringList{QStringLiteral("+393331112222|TEXT||Ciao")});
    EXPECT_TRUE(waiting(box).isEmpty());
}

TEST(ScheduledBatchesWindow, ReadsAgainAsTheDispatcherSendsKeepingThePickedRow)
{
    SandboxHome box;
    for (const QTime at : {QTime(10, 0), QTime(11, 0), QTime(12, 0)}) {
        TimedComposer open(box, box.home.context(), QDateTime(QDate(2026, 3, 14), at));
        box.home.dialogs.expectMessage(
            QStringLiteral("Invio programmato per il 14/03/2026 %1 nella rubrica \"Principale\": 1 "
                           "destinatari, 1 SMS.")
                .arg(at.toString(QStringLiteral("HH:mm"))),
            MessageIcon::Information);
        open.schedule();
    }
    ScheduledBatchesWindow list(box.home.context());
    ScheduledDispatcher dispatcher(box.home.state.folder, box.factory(), box.home.clock);
    list.follow(dispatcher);
    list.show();
    auto* table = list.findChild<QTableWidget*>(QStringLiteral("scheduledList"));
    table->selectRow(2); // the 12:00 batch
    box.home.clock.set(QDateTime(QDate(2026, 3, 14), QTime(10, 30)));
    dispatcher.runDue();
    ASSERT_TRUE(waitUntil([&] { return list.rowCount() == 2; }));
    EXPECT_EQ(table->item(table->currentRow(), 1)->text(), QStringLiteral("14/03/2026 12:00"));
    EXPECT_EQ(box.sentSms().size(), 1);
}

} // namespace
