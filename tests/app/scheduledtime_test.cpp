#include "app/formlauncher.h"
#include "app/mainwindow.h"
#include "core/programstate.h"
#include "messaging/composer.h"
#include "messaging/scheduledbatcheswindow.h"
#include "sending/batchplan.h"
#include "sending/scheduleddispatcher.h"
#include "tests/messaging/batchsupport.h"
#include "tests/support/modalpresser.h"
#include "ui/qtdialogs.h"

#include <QDateTimeEdit>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::SandboxHome;
using parlix::test::waitUntil;

namespace {

// The program on the sandbox with the real boxes, after keeping a batch of
// one SMS to Anna for each of `times` (the test clock reads 14/03/2026
// 09:26:53), and with a stand-in for systemctl that logs its arguments and
// answers "is-enabled" and "enable" with the given exit statuses.
struct Program
{
    Program(const QList<QTime>& times, int isEnabled, int enable)
    {
        for (const QTime& at : times) {
            const auto plan = std::get<BatchPlan>(BatchPlan::make(
                at.toString(), {{{}, {}, QStringLiteral("3331112222"), {}, {}}}, SplitMode::Fixed));
            store().add(ScheduledBatch::forPlan(plan, QDateTime(QDate(2026, 3, 14), at), {}, {}), plan);
        }
        QFile script(dir.filePath(QStringLiteral("systemctl")));
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral("#!/bin/sh\necho \"$*\" >> '%1/log'\n[ \"$2\" = is-enabled ] && exit %2\n"
                                    "[ %3 = 0 ] || echo 'Failed to connect to bus'; exit %3\n")
                         .arg(dir.path())
                         .arg(isEnabled)
                         .arg(enable)
                         .toUtf8());
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        forms.setUserTimer(UserTimer(script.fileName()));
        forms.install();
        window.show();
        dispatcher = forms.findChild<ScheduledDispatcher*>();
        EXPECT_TRUE(waitUntil([&] { return !dispatcher->busy(); })); // the round at start
    }
    QStringList timerCalls()
    {
        QFile log(dir.filePath(QStringLiteral("log")));
        return log.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts)
                   : QStringList();
    }
    ScheduledStore store()
    {
        return {*box.home.state.store, box.home.state.folder.bookPath(QStringLiteral("Principale"))};
    }

    SandboxHome box;
    QTemporaryDir dir;
    QtDialogs dialogs;
    AppContext context{box.home.state, dialogs, box.home.clock};
    MainWindow window{context};
    FormLauncher forms{window, context, box.factory()};
    test::ModalPresser presser;
    ScheduledDispatcher* dispatcher = nullptr;
};

TEST(OverdueBatchesJourney, ALongOverdueBatchWaitsForItsAnswerAFewMinutesLateOneGoes)
{
    const QString question = QStringLiteral(
        "L'invio programmato per il 14/03/2026 07:00 nella rubrica \"Principale\" (1 destinatari, 1 SMS) "
        "doveva partire 2 ore fa e non è ancora partito.\nTesto: 07:00:00\n\nInviarlo adesso?\nSì: lo "
        "invia adesso.\nNo: annulla l'invio.\nAnnulla: lo lascia in attesa senza inviarlo; sarà chiesto di "
        "nuovo al prossimo avvio.");
    const QString late = QStringLiteral("+393331112222|TEXT||07:00:00");
    const QString recent = QStringLiteral("+393331112222|TEXT||09:20:00");
    const struct
    {
        QString button;
        QStringList sent;
        qsizetype stillWaiting;
    } rows[] = {{QStringLiteral("Sì"), {recent, late}, 0}, {QStringLiteral("Annulla"), {recent}, 1}};
    for (const auto& row : rows) {
        Program program({QTime(7, 0), QTime(9, 20)}, 1, 0);
        ScheduledBatchesWindow list(program.context); // "Invii programmati", open meanwhile
        list.follow(*program.dispatcher);
        program.presser.press(row.button);
        program.forms.offerOverdueBatches();
        EXPECT_EQ(program.presser.texts(), QStringList{question});
        program.dispatcher->runDue(); // a round more sends only what was answered "Sì"
        ASSERT_TRUE(
            waitUntil([&] { return !program.dispatcher->busy() && program.box.sentSms() == row.sent; }));
        EXPECT_EQ(program.store().waiting().size(), row.stillWaiting);
        EXPECT_EQ(list.rowCount(), row.stillWaiting);
    }
}

TEST(ClosingWithBatchesWaitingJourney, SaysWhenTheyLeaveAndOffersTheTimer)
{
    const QString lead =
        QStringLiteral("Restano 2 invii programmati: il primo partirà il 14/03/2026 10:00 nella "
                       "rubrica \"Principale\", l'ultimo il 14/03/2026 12:00.\n");
    const QString on =
        lead + QStringLiteral("Il timer utente parlix-run-scheduled.timer è attivo: gli invii "
                              "partono anche a Parlix chiuso, mentre la sessione dell'utente è aperta.");
    const QString off =
        lead + QStringLiteral(
                   "Gli invii programmati partono solo se a quell'ora Parlix è aperto oppure se è attivo il "
                   "timer utente installato (parlix-run-scheduled.timer).\n\nAttivare ora il timer e "
                   "chiudere?\nSì: attiva il timer e chiude.\nNo: chiude senza attivarlo.\nAnnulla: "
                   "Parlix resta aperto.");
    const QString failed = QStringLiteral(
        "Il timer utente non si è potuto attivare:\nFailed to connect to bus\n\nParlix resta aperto, così "
        "gli invii programmati partono all'ora prevista. Per attivare il timer a mano: systemctl --user "
        "enable --now "
        "parlix-run-scheduled.timer");
    const QString yes = QStringLiteral("Sì"), ok = QStringLiteral("OK");
    const QString isEnabled = QStringLiteral("--user is-enabled parlix-run-scheduled.timer");
    const QString enable = QStringLiteral("--user enable --now parlix-run-scheduled.timer");
    const struct
    {
        int isEnabled, enable; // the stand-in's exit statuses
        QStringList buttons, texts;
        bool closes;
        QStringList calls;
    } rows[] = {
        {0, 0, {ok}, {on}, true, {isEnabled}},
        {1, 0, {yes}, {off}, true, {isEnabled, enable}},
        {1, 1, {yes, ok}, {off, failed}, false, {isEnabled, enable}}, // and it stays open
    };
    for (const auto& row : rows) {
        Program program({QTime(12, 0), QTime(10, 0)}, row.isEnabled, row.enable);
        for (const QString& button : row.buttons)
            program.presser.press(button);
        EXPECT_EQ(program.window.close(), row.closes);
        EXPECT_EQ(program.presser.texts(), row.texts);
        EXPECT_EQ(program.timerCalls(), row.calls);
    }
}

TEST(ComposerTimeJourney, ATimeGoneByIsAskedAboutAndYesSendsAtOnce)
{
    Program program({}, 1, 0);
    Composer composer(program.context, program.box.factory(),
                      {QStringLiteral("r1"), QStringLiteral("Principale")});
    composer.preset(ComposerPreset::single(QStringLiteral("3331112222"), QString()));
    composer.show();
    composer.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("Ciao"));
    composer.findChild<QDateTimeEdit*>(QStringLiteral("scheduleTime"))
        ->setDateTime(QDateTime(QDate(2026, 3, 14), QTime(9, 0)));
    program.presser.press(QStringLiteral("Sì"));
    program.presser.press(QStringLiteral("OK")); // sent
    composer.findChild<QPushButton*>(QStringLiteral("scheduleButton"))->click();
    ASSERT_TRUE(waitUntil([&] { return program.presser.done() && !composer.isVisible(); }));
    EXPECT_EQ(program.presser.texts().value(0),
              QStringLiteral("L'ora scelta, 14/03/2026 09:00, è già passata: il messaggio non può partire a "
                             "quell'ora.\nInviare subito?"));
    EXPECT_EQ(program.box.sentSms(), QStringList{QStringLiteral("+393331112222|TEXT||Ciao")});
    EXPECT_EQ(program.store().waiting().size(), 0);
}

} // namespace
