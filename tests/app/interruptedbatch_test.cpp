#include "app/formlauncher.h"
#include "app/mainwindow.h"
#include "browser/archivelist.h"
#include "messaging/composer.h"
#include "sending/batchjournal.h"
#include "sending/interruptedbatches.h"
#include "tests/messaging/batchsupport.h"
#include "tests/support/modalpresser.h"
#include "ui/qtdialogs.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::SandboxHome;
using parlix::test::waitUntil;

namespace {

const QString principale = QStringLiteral("Principale");

// Leaves in Principale the journal of a batch cut short: Rossi accepted,
// Bianchi refused, Verdi handed to the gateway when the process ended, Neri
// and Gialli never tried.
long long interruptBatch(SandboxHome& box)
{
    BatchJournal journal(*box.home.state.store, box.home.state.folder.bookPath(principale));
    const long long id =
        journal.begin(QStringLiteral("14/03/2026 09:26:53"), QStringLiteral("Aperti domenica"),
                      {{QStringLiteral("Rossi"), QStringLiteral("3330000001")},
                       {QStringLiteral("Bianchi"), QStringLiteral("3330000002")},
                       {QStringLiteral("Verdi"), QStringLiteral("3330000003")},
                       {QStringLiteral("Neri"), QStringLiteral("3330000004")},
                       {QStringLiteral("Gialli"), QStringLiteral("3330000005")}});
    journal.sending(id, 0);
    journal.answered(id, 0, 0);
    journal.sending(id, 1);
    journal.answered(id, 1, 11);
    journal.sending(id, 2);
    return id;
}

const QString offerText =
    QStringLiteral("L'invio del 14/03/2026 09:26:53 dalla rubrica \"Principale\" si è interrotto.\n"
                   "Messaggi accettati: 1 di 5 destinatari.\n"
                   "Rifiutati: 1.\n"
                   "In corso di invio all'interruzione (non verranno ripetuti): 1.\n\n"
                   "Inviare lo stesso testo ai 2 destinatari non ancora serviti?");

struct Program
{
    // The real boxes when `real` is given, else the home's scripted dialogs.
    explicit Program(Dialogs* real = nullptr)
        : context{box.home.state, real ? *real : static_cast<Dialogs&>(box.home.dialogs), box.home.clock},
          window(context), forms(window, context, box.factory())
    {
        forms.install();
        window.load();
        window.show();
    }

    SandboxHome box;
    AppContext context;
    MainWindow window;
    FormLauncher forms;
};

TEST(InterruptedBatch, TheNextStartTellsWhoWasServedAndAsksOnce)
{
    SandboxHome box;
    const long long id = interruptBatch(box);
    const auto found = findInterruptedBatches(box.home.state.folder);
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].id, id);
    EXPECT_EQ(found[0].unserved, (QStringList{QStringLiteral("3330000004"), QStringLiteral("3330000005")}));
    EXPECT_EQ(interruptedBatchText(found[0]), offerText);

    // Answered no: nothing is sent, and the batch is not offered again.
    test::ScriptedDialogs& dialogs = box.home.dialogs;
    MainWindow window(box.home.context());
    FormLauncher forms(window, box.home.context(), box.factory());
    dialogs.expectMessage(offerText, MessageIcon::Question, Answer::No);
    forms.offerInterruptedBatches();
    forms.offerInterruptedBatches();
    EXPECT_TRUE(box.sentSms().isEmpty());
    EXPECT_TRUE(findInterruptedBatches(box.home.state.folder).empty());
}

TEST(InterruptedBatch, ABatchWithNobodyLeftIsOnlyReported)
{
    SandboxHome box;
    BatchJournal journal(*box.home.state.store, box.home.state.folder.bookPath(principale));
    const long long id = journal.begin(QStringLiteral("14/03/2026 09:26:53"), QStringLiteral("x"),
                                       {{QString(), QStringLiteral("3330000001")}});
    journal.sending(id, 0);
    journal.answered(id, 0, 0);
    MainWindow window(box.home.context());
    FormLauncher forms(window, box.home.context(), box.factory());
    box.home.dialogs.expectMessage(
        QStringLiteral("L'invio del 14/03/2026 09:26:53 dalla rubrica \"Principale\" "
                       "si è interrotto.\nMessaggi accettati: 1 di 1 destinatario."),
        MessageIcon::Information);
    forms.offerInterruptedBatches();
    EXPECT_TRUE(findInterruptedBatches(box.home.state.folder).empty());
}

// Through the real boxes: "Sì" opens the composer on the recipients never
// tried with the same text, and sending it serves exactly them.
TEST(InterruptedBatchJourney, YesSendsTheSameTextOnlyToTheRecipientsNeverTried)
{
    QtDialogs realDialogs;
    Program program(&realDialogs);
    interruptBatch(program.box);
    parlix::test::ModalPresser presser;
    presser.press(QStringLiteral("Sì"));
    QString shownText;
    bool composerSeen = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* composer = qobject_cast<Composer*>(QApplication::activeModalWidget());
        if (!composer || composerSeen)
            return;
        composerSeen = true;
        shownText = composer->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
        presser.press(QStringLiteral("OK")); // the warning before a multiple batch
        presser.press(QStringLiteral("OK")); // sent
        composer->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    });
    poll.start();
    program.forms.offerInterruptedBatches();
    poll.stop();

    EXPECT_TRUE(composerSeen);
    EXPECT_EQ(shownText, QStringLiteral("Aperti domenica"));
    ASSERT_FALSE(presser.texts().isEmpty());
    EXPECT_EQ(presser.texts().constFirst(), offerText);
    EXPECT_EQ(presser.texts().constLast(), QStringLiteral("Messaggio/i  inviato correttamente"));
    EXPECT_EQ(program.box.sentSms(), (QStringList{QStringLiteral("+393330000004|TEXT||Aperti domenica"),
                                                  QStringLiteral("+393330000005|TEXT||Aperti domenica")}));
    EXPECT_TRUE(findInterruptedBatches(program.box.home.state.folder).empty());
}

// "Esito Invio" on a message of "SMS Inviati": each recipient with what the
// gateway answered; nothing to show for a message sent before the journal.
TEST(SentOutcomeCommand, ShowsWhatTheGatewayAnsweredEachRecipientOfTheSelectedMessage)
{
    Program program;
    test::TestHome& home = program.box.home;
    const QString data = QStringLiteral("14/03/2026 09:26:53");
    home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral("<lista>"),
                    QStringLiteral("3330000001;3330000002"), data, QStringLiteral("Avviso"));
    home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral("Rossi"),
                    QStringLiteral("3330000003"), QStringLiteral("01/03/2026 10:00:00"),
                    QStringLiteral("Vecchio"));
    {
        BatchJournal journal(*home.state.store, home.state.folder.bookPath(principale));
        const long long id = journal.begin(
            data, QStringLiteral("Avviso"),
            {{QString(), QStringLiteral("3330000001")}, {QString(), QStringLiteral("3330000002")}});
        journal.answered(id, 0, 0);
        journal.answered(id, 1, 3);
        journal.finish(id);
    }
    QAction* command = program.window.action(QStringLiteral("esinv"));
    ASSERT_TRUE(command->isEnabled());
    home.dialogs.expectMessage(QStringLiteral("Selezionare un messaggio in \"SMS Inviati\"."),
                               MessageIcon::Exclamation);
    command->trigger();

    program.window.clickNode(6); // SMS Inviati of Principale
    ArchiveList& list = *program.window.archiveList();
    ASSERT_TRUE(waitUntil([&] { return list.rowCount() == 2; }));
    const int avviso = list.row(0).cells[3] == QStringLiteral("Avviso") ? 0 : 1;
    list.selectRow(avviso);
    home.dialogs.expectMessage(QStringLiteral("3330000001: accettato\n"
                                              "3330000002: rifiutato: numero non valido (codice 3)"),
                               MessageIcon::Information, Answer::Ok, QStringLiteral("Esito Invio"));
    command->trigger();
    list.selectRow(1 - avviso);
    home.dialogs.expectMessage(
        QStringLiteral("Per questo messaggio non è registrato l'esito dei singoli destinatari."),
        MessageIcon::Information);
    command->trigger();
    EXPECT_TRUE(home.dialogs.done());
}

} // namespace
