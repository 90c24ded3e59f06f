#include "app/formlauncher.h"
#include "app/mainwindow.h"
#include "core/programstate.h"
#include "sending/batchplan.h"
#include "sending/scheduleddispatcher.h"
#include "sending/scheduledstore.h"
#include "tests/messaging/batchsupport.h"
#include "tests/support/modalpresser.h"
#include "ui/qtdialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::SandboxHome;
using parlix::test::waitUntil;

namespace {

const QString principale = QStringLiteral("Principale");

// A batch of one SMS to Anna kept in Principale for `at` on the test clock's day (09:26:53).
void keep(SandboxHome& box, const QTime& at, const QString& text)
{
    const QList<Contact> anna{{QStringLiteral("Anna"), QStringLiteral("Bianchi"),
                               QStringLiteral("3331112222"), QString(), QString()}};
    const BatchPlan plan = std::get<BatchPlan>(BatchPlan::make(text, anna, SplitMode::Fixed));
    ScheduledStore(*box.home.state.store, box.home.state.folder.bookPath(principale))
        .add(ScheduledBatch::forPlan(plan, QDateTime(QDate(2026, 3, 14), at), QStringLiteral("Bianchi"),
                                     QStringLiteral("3331112222")),
             plan);
}

QStringList waitingTexts(SandboxHome& box)
{
    QStringList texts;
    for (const ScheduledBatch& batch :
         ScheduledStore(*box.home.state.store, box.home.state.folder.bookPath(principale)).waiting())
        texts << batch.text;
    return texts;
}

// A stand-in for systemctl that logs its arguments and answers "is-enabled"
// and "enable" with the given exit statuses.
struct TimerStandIn
{
    TimerStandIn(int isEnabled, int enable)
    {
        QFile script(dir.filePath(QStringLiteral("systemctl")));
        script.open(QIODevice::WriteOnly);
        script.write(
            QStringLiteral("#!/bin/sh\necho \"$*\" >> '%1'\ncase \"$2\" in\n"
                           "is-enabled) exit %2 ;;\n"
                           "enable) [ %3 = 0 ] || echo 'Failed to connect to bus'; exit %3 ;;\nesac\n")
                .arg(log())
                .arg(isEnabled)
                .arg(enable)
                .toUtf8());
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    QString log() const { return dir.filePath(QStringLiteral("log")); }
    QStringList calls() const
    {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    UserTimer timer() const { return UserTimer(dir.filePath(QStringLiteral("systemctl"))); }

    QTemporaryDir dir;
};

struct Program
{
    Program(SandboxHome& box, Dialogs& dialogs, const UserTimer& timer)
        : context{box.home.state, dialogs, box.home.clock}, window(context),
          forms(window, context, box.factory())
    {
        forms.setUserTimer(timer);
        forms.install();
        window.load();
        window.show();
        dispatcher = forms.findChild<ScheduledDispatcher*>();
    }
    // Waits for the round under way, then runs one more and waits for it.
    void settle()
    {
        ASSERT_TRUE(waitUntil([&] { return !dispatcher->busy(); }));
        dispatcher->runDue();
        ASSERT_TRUE(waitUntil([&] { return !dispatcher->busy(); }));
    }

    AppContext context;
    MainWindow window;
    FormLauncher forms;
    ScheduledDispatcher* dispatcher = nullptr;
};

const QString overdueQuestion = QStringLiteral(
    "L'invio programmato per il 14/03/2026 07:00 nella rubrica \"Principale\" (1 destinatari, 1 SMS) doveva "
    "partire 2 ore fa e non è ancora partito.\nTesto: Buongiorno\n\nInviarlo adesso?\nSì: lo invia adesso.\n"
    "No: annulla l'invio.\nAnnulla: lo lascia in attesa senza inviarlo; sarà chiesto di nuovo al prossimo "
    "avvio.");

TEST(OverdueBatches, ALongOverdueBatchWaitsForTheAnswerAMinuteLateOneGoes)
{
    const struct
    {
        Answer answer;
        QStringList sent;
        QStringList stillWaiting;
    } rows[] = {
        {Answer::Yes,
         {QStringLiteral("+393331112222|TEXT||Appena"), QStringLiteral("+393331112222|TEXT||Buongiorno")},
         {}},
        {Answer::No, {QStringLiteral("+393331112222|TEXT||Appena")}, {}},
        {Answer::Cancel, {QStringLiteral("+393331112222|TEXT||Appena")}, {QStringLiteral("Buongiorno")}},
    };
    for (const auto& row : rows) {
        SandboxHome box;
        keep(box, QTime(7, 0), QStringLiteral("Buongiorno"));
        keep(box, QTime(9, 20), QStringLiteral("Appena"));
        TimerStandIn stand(1, 0);
        Program program(box, box.home.dialogs, stand.timer());
        program.settle(); // the rounds at start leave the 07:00 batch alone
        EXPECT_EQ(box.sentSms(), QStringList{QStringLiteral("+393331112222|TEXT||Appena")});
        box.home.dialogs.expectMessage(overdueQuestion, MessageIcon::Question, row.answer);
        program.forms.offerOverdueBatches();
        ASSERT_TRUE(waitUntil([&] { return box.sentSms().size() == row.sent.size(); }));
        program.settle();
        EXPECT_EQ(box.sentSms(), row.sent);
        EXPECT_EQ(waitingTexts(box), row.stillWaiting);
    }
}

TEST(OverdueBatchesJourney, YesInTheRealBoxSendsItNow)
{
    SandboxHome box;
    keep(box, QTime(7, 0), QStringLiteral("Buongiorno"));
    QtDialogs realDialogs;
    TimerStandIn stand(1, 0);
    Program program(box, realDialogs, stand.timer());
    test::ModalPresser presser;
    presser.press(QStringLiteral("Sì"));
    program.forms.offerOverdueBatches();
    ASSERT_TRUE(waitUntil([&] { return box.sentSms().size() == 1; }));
    EXPECT_EQ(presser.texts(), QStringList{overdueQuestion});
    EXPECT_EQ(box.sentSms(), QStringList{QStringLiteral("+393331112222|TEXT||Buongiorno")});
}

const QString waitingLead = QStringLiteral("Restano 2 invii programmati: il primo partirà il 14/03/2026 "
                                           "10:00 nella rubrica \"Principale\", l'ultimo "
                                           "il 14/03/2026 12:00.\n");
const QString timerOnNotice =
    waitingLead +
    QStringLiteral("Il timer utente parlix-run-scheduled.timer è attivo: gli invii partono anche a "
                   "Parlix chiuso, mentre la sessione dell'utente è aperta.");
const QString timerOffQuestion =
    waitingLead +
    QStringLiteral("Gli invii programmati partono solo se a quell'ora Parlix è aperto oppure se è "
                   "attivo il timer utente installato (parlix-run-scheduled.timer).\n\nAttivare "
                   "ora il timer e chiudere?\nSì: attiva il timer e chiude.\nNo: chiude senza "
                   "attivarlo.\nAnnulla: Parlix resta aperto.");
const QString isEnabled = QStringLiteral("--user is-enabled parlix-run-scheduled.timer");
const QString enable = QStringLiteral("--user enable --now parlix-run-scheduled.timer");

TEST(ClosingWithBatchesWaiting, SaysWhenTheyLeaveAndOffersTheTimer)
{
    struct Told
    {
        QString text;
        MessageIcon icon;
        Answer answer;
    };
    const struct
    {
        const char* what;
        bool batches;
        int isEnabled, enable; // the stand-in's exit statuses
        std::vector<Told> told;
        bool closes;
        QStringList calls;
    } rows[] = {
        {"nothing waiting", false, 1, 0, {}, true, {}},
        {"timer on, OK",
         true,
         0,
         0,
         {{timerOnNotice, MessageIcon::Information, Answer::Ok}},
         true,
         {isEnabled}},
        {"timer on, stay",
         true,
         0,
         0,
         {{timerOnNotice, MessageIcon::Information, Answer::Cancel}},
         false,
         {isEnabled}},
        {"timer turned on",
         true,
         1,
         0,
         {{timerOffQuestion, MessageIcon::Question, Answer::Yes}},
         true,
         {isEnabled, enable}},
        {"the timer cannot be turned on",
         true,
         1,
         1,
         {{timerOffQuestion, MessageIcon::Question, Answer::Yes},
          {QStringLiteral(
               "Il timer utente non si è potuto attivare:\nFailed to connect to bus\n\nParlix resta "
               "aperto, così gli invii programmati partono all'ora prevista. Per attivare il timer "
               "a mano: systemctl --user enable --now parlix-run-scheduled.timer"),
           MessageIcon::Critical, Answer::Ok}},
         false,
         {isEnabled, enable}},
        {"closed without the timer",
         true,
         1,
         0,
         {{timerOffQuestion, MessageIcon::Question, Answer::No}},
         true,
         {isEnabled}},
        {"stays open",
         true,
         1,
         0,
         {{timerOffQuestion, MessageIcon::Question, Answer::Cancel}},
         false,
         {isEnabled}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SandboxHome box;
        if (row.batches) {
            keep(box, QTime(12, 0), QStringLiteral("Dopo"));
            keep(box, QTime(10, 0), QStringLiteral("Prima"));
        }
        TimerStandIn stand(row.isEnabled, row.enable);
        Program program(box, box.home.dialogs, stand.timer());
        for (const Told& told : row.told)
            box.home.dialogs.expectMessage(told.text, told.icon, told.answer);
        EXPECT_EQ(program.window.close(), row.closes);
        EXPECT_TRUE(box.home.dialogs.done());
        EXPECT_EQ(stand.calls(), row.calls);
    }
}

TEST(ClosingWithBatchesWaitingJourney, YesInTheRealBoxTurnsTheTimerOnAndCloses)
{
    SandboxHome box;
    keep(box, QTime(12, 0), QStringLiteral("Dopo"));
    keep(box, QTime(10, 0), QStringLiteral("Prima"));
    QtDialogs realDialogs;
    TimerStandIn stand(1, 0);
    Program program(box, realDialogs, stand.timer());
    test::ModalPresser presser;
    presser.press(QStringLiteral("Sì"));
    EXPECT_TRUE(program.window.close());
    EXPECT_EQ(presser.texts(), QStringList{timerOffQuestion});
    EXPECT_EQ(stand.calls(), (QStringList{isEnabled, enable}));
}

} // namespace
