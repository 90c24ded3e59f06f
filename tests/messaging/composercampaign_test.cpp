#include "batchsupport.h"
#include "core/programstate.h"
#include "messaging/composer.h"
#include "messaging/optoutwindow.h"
#include "messaging/scheduledbatcheswindow.h"
#include "messaging/smscommands.h"
#include "sending/optoutregister.h"
#include "sending/scheduleddispatcher.h"
#include "sending/scheduledstore.h"
#include "sending/sentoutcome.h"
#include "tests/support/modalpresser.h"
#include "ui/qtdialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::SandboxHome;
using parlix::test::waitUntil;

namespace {

const QString notice =
    QStringLiteral("L'invio di SMS Multipli può richiedere alcuni minuti non interrompere il "
                   "software durante l'elaborazione\nFare click su OK per procedere con "
                   "l'invio degli sms");
const QString lead = QString(150, QChar(u'x')) + u' '; // 151 characters

// Two contacts of Principale, one whose name makes the text two SMS.
void addContacts(SandboxHome& box)
{
    box.home.addContact(QStringLiteral("Principale"), QStringLiteral("Anna"), QStringLiteral("Bianchi"),
                        QStringLiteral("3331112222"));
    box.home.addContact(QStringLiteral("Principale"), QStringLiteral("Massimiliano"), QStringLiteral("Rossi"),
                        QStringLiteral("3334445555"));
}

struct ListComposer
{
    ListComposer(SandboxHome& box, AppContext context, const QString& text)
        : composer(context, box.factory(), {QStringLiteral("r1"), QStringLiteral("Principale")})
    {
        composer.preset(*multipleSendPreset(context, QStringLiteral("r1"),
                                            {QStringLiteral("3331112222"), QStringLiteral("3334445555")}));
        composer.show();
        QCoreApplication::processEvents();
        composer.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(text);
    }
    template <typename W> W* get(const char* name)
    {
        return composer.findChild<W*>(QString::fromLatin1(name));
    }
    void click(const char* name) { get<QPushButton>(name)->click(); }

    Composer composer;
};

QString previewOf(const QStringList& lines)
{
    return lines.join(u'\n') + QStringLiteral("\n\nProcedere con l'invio?");
}

} // namespace

TEST(ComposerCampaign, PersonalisedTextsGoOutPerRecipientAfterThePreview)
{
    SandboxHome box({"--credit", "10"});
    addContacts(box);
    ListComposer open(box, box.home.context(), lead + QStringLiteral("{Nome}"));
    EXPECT_TRUE(open.get<QRadioButton>("Option2")->isVisible()) << "a text with fields may grow past one SMS";
    open.get<QRadioButton>("Option2")->setChecked(true);

    auto& dialogs = box.home.dialogs;
    dialogs.expectMessage(notice, MessageIcon::Information);
    dialogs.expectMessage(
        previewOf({QStringLiteral("Anteprima dei primi 2 messaggi:"),
                   QStringLiteral("3331112222 (1 SMS): ") + lead + QStringLiteral("Anna"),
                   QStringLiteral("3334445555 (2 SMS): ") + lead + QStringLiteral("Massimiliano"),
                   QStringLiteral("Destinatari: 2. SMS da inviare: 3. Credito necessario: 3.")}),
        MessageIcon::Question, Answer::Ok);
    dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"), MessageIcon::Information);
    open.click("Command1");
    ASSERT_TRUE(waitUntil([&] { return dialogs.done(); }));

    EXPECT_EQ(
        box.sentSms(),
        (QStringList{QStringLiteral("+393331112222|TEXT||") + lead + QStringLiteral("Anna"),
                     QStringLiteral("+393334445555|TEXT||") + lead, // word splitting keeps the name whole
                     QStringLiteral("+393334445555|TEXT||Massimiliano ")}));
    EXPECT_EQ(box.residui(), QStringLiteral("7\r\n"));
    ASSERT_EQ(box.sentRecords().size(), 1);
    EXPECT_TRUE(box.sentRecords().constFirst().endsWith(u'|' + lead + QStringLiteral("{Nome}")))
        << "inviati keeps the text as typed";
}

TEST(ComposerCampaign, RefusalsAndACancelledPreviewSendNothingAndLeaveTheComposerUsable)
{
    struct Row
    {
        const char* what;
        std::vector<std::string> sandbox;
        QString text;
        QString message;
        MessageIcon icon;
        Answer answer;
    } rows[] = {
        {"unknown field",
         {},
         QStringLiteral("Ciao {Indirizzo}"),
         QStringLiteral(
             "Il campo {Indirizzo} non esiste. I campi che si possono usare sono {Nome}, {Cognome}, "
             "{Cellulare}, {Email}."),
         MessageIcon::Exclamation,
         Answer::Ok},
        {"preview cancelled",
         {},
         QStringLiteral("Ciao {Nome}"),
         previewOf({QStringLiteral("Anteprima dei primi 2 messaggi:"),
                    QStringLiteral("3331112222 (1 SMS): Ciao Anna"),
                    QStringLiteral("3334445555 (1 SMS): Ciao Massimiliano"),
                    QStringLiteral("Destinatari: 2. SMS da inviare: 2. Credito necessario: 2.")}),
         MessageIcon::Question,
         Answer::Cancel},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SandboxHome box(row.sandbox);
        addContacts(box);
        ListComposer open(box, box.home.context(), row.text);
        // A refusal comes before the notice; a preview after it.
        if (row.icon == MessageIcon::Question)
            box.home.dialogs.expectMessage(notice, MessageIcon::Information);
        box.home.dialogs.expectMessage(row.message, row.icon, row.answer);
        open.click("Command1");
        EXPECT_TRUE(box.home.dialogs.done());
        EXPECT_TRUE(open.get<QPushButton>("Command1")->isEnabled());
        EXPECT_TRUE(open.composer.isVisible());
        EXPECT_TRUE(box.sentSms().isEmpty());
        EXPECT_TRUE(box.sentRecords().isEmpty());
    }
}

TEST(ComposerCampaign, ThePreviewQuestionThroughTheRealBoxSends)
{
    SandboxHome box;
    addContacts(box);
    QtDialogs realDialogs;
    ListComposer open(box, {box.home.state, realDialogs, box.home.clock}, QStringLiteral("Ciao {Nome}"));
    test::ModalPresser presser;
    presser.press(QStringLiteral("OK")); // the notice
    presser.press(QStringLiteral("OK")); // the preview
    presser.press(QStringLiteral("OK")); // "inviato correttamente"
    open.click("Command1");
    ASSERT_TRUE(waitUntil([&] { return presser.done() && !open.composer.isVisible(); }));
    ASSERT_EQ(presser.texts().size(), 3);
    EXPECT_TRUE(presser.texts().at(1).startsWith(QStringLiteral("Anteprima dei primi 2 messaggi:")));
    EXPECT_EQ(box.sentSms(), (QStringList{QStringLiteral("+393331112222|TEXT||Ciao Anna"),
                                          QStringLiteral("+393334445555|TEXT||Ciao Massimiliano")}));
}

TEST(ComposerCampaign, ABatchKeptForLaterIsListedCancelledOrSentByTheDispatcherOnce)
{
    SandboxHome box;
    addContacts(box);
    auto& dialogs = box.home.dialogs;
    const QString book = box.home.state.folder.bookPath(QStringLiteral("Principale"));
    for (int i = 0; i < 2; ++i) {
        ListComposer open(box, box.home.context(), QStringLiteral("Auguri {Nome}"));
        open.get<QDateTimeEdit>("scheduleTime")->setDateTime(QDateTime(QDate(2026, 3, 14), QTime(10 + i, 0)));
        dialogs.expectMessage(QStringLiteral("Invio programmato per il 14/03/2026 %1:00 nella rubrica "
                                             "\"Principale\": 2 destinatari, 2 SMS.")
                                  .arg(10 + i),
                              MessageIcon::Information);
        open.click("scheduleButton");
        EXPECT_TRUE(dialogs.done());
        EXPECT_FALSE(open.composer.isVisible());
    }
    EXPECT_TRUE(box.sentSms().isEmpty());
    EXPECT_TRUE(box.sentRecords().isEmpty());

    {
        ScheduledBatchesWindow list(box.home.context());
        ASSERT_EQ(list.rowCount(), 2);
        list.findChild<QPushButton*>(QStringLiteral("cancelScheduled"))->click(); // the first, at 10:00
        EXPECT_EQ(list.rowCount(), 1);
    }

    // 10:30: the 11:00 batch is not due yet; at 11:00 it goes, once.
    ScheduledDispatcher dispatcher(box.home.state.folder, box.factory(), box.home.clock);
    bool finished = false;
    QObject::connect(&dispatcher, &ScheduledDispatcher::roundFinished, [&] { finished = true; });
    for (const QTime now : {QTime(10, 30), QTime(11, 0), QTime(11, 5)}) {
        box.home.clock.set(QDateTime(QDate(2026, 3, 14), now));
        finished = false;
        dispatcher.runDue();
        ASSERT_TRUE(waitUntil([&] { return finished; }));
        EXPECT_EQ(box.sentSms().size(), now < QTime(11, 0) ? 0 : 2) << now.toString().toStdString();
    }
    EXPECT_EQ(box.sentSms(), (QStringList{QStringLiteral("+393331112222|TEXT||Auguri Anna"),
                                          QStringLiteral("+393334445555|TEXT||Auguri Massimiliano")}));
    EXPECT_EQ(box.sentRecords(),
              QStringList{QStringLiteral("<lista>|3331112222;3334445555|14/03/2026 11:00:00|"
                                         "Auguri {Nome}")});
    EXPECT_TRUE(ScheduledStore(*box.home.state.store, book).waiting().isEmpty());

    // The emptied list keeps room for a time in its columns.
    ScheduledBatchesWindow emptied(box.home.context());
    const auto* table = emptied.findChild<QTableWidget*>(QStringLiteral("scheduledList"));
    ASSERT_EQ(emptied.rowCount(), 0);
    EXPECT_GT(table->columnWidth(1),
              table->fontMetrics().horizontalAdvance(QStringLiteral("14/03/2026 11:00")));
}

TEST(ComposerCampaign, TheWindowsBatchSkipsARegisteredNumberAndSaysSo)
{
    SandboxHome box;
    addContacts(box);
    OptOutRegister(*box.home.state.store, box.home.state.folder.bookList())
        .add(QStringLiteral("+39 333 444 5555"), OptOutRegister::Source::Typed, {}, {}, box.home.clock.now());
    ListComposer open(box, box.home.context(), QStringLiteral("Ciao"));
    auto& dialogs = box.home.dialogs;
    dialogs.expectMessage(OptOutRegister::excludedText(1) + QStringLiteral("\nSMS da inviare: 1."),
                          MessageIcon::Information);
    dialogs.expectMessage(notice, MessageIcon::Information);
    dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"), MessageIcon::Information);
    open.click("Command1");
    ASSERT_TRUE(waitUntil([&] { return dialogs.done() && !open.composer.isVisible(); }));
    EXPECT_EQ(box.sentSms(), QStringList{QStringLiteral("+393331112222|TEXT||Ciao")});
    EXPECT_EQ(box.residui(), QStringLiteral("99\r\n")) << "no credit spent on the excluded";
    const QString book = box.home.state.folder.bookPath(QStringLiteral("Principale"));
    EXPECT_EQ(
        sentOutcomeLines(*box.home.state.store, book, 1, QStringLiteral("14/03/2026 09:26:53"),
                         QStringLiteral("Ciao")),
        (QStringList{QStringLiteral("3331112222: accettato"),
                     QStringLiteral("3334445555: escluso: il numero è nel registro \"Numeri esclusi\"")}));
}

TEST(OptOutWindowJourney, TakingANumberOffAsksThroughTheRealBoxAndKeepsTheDate)
{
    test::TestHome home;
    QtDialogs realDialogs;
    OptOutWindow window({home.state, realDialogs, home.clock});
    window.findChild<QLineEdit*>(QStringLiteral("optOutNumber"))->setText(QStringLiteral("333 1234567"));
    window.findChild<QLineEdit*>(QStringLiteral("optOutNote"))->setText(QStringLiteral("al telefono"));
    window.findChild<QPushButton*>(QStringLiteral("optOutAdd"))->click();
    ASSERT_EQ(window.rowCount(), 1);
    window.show();

    test::ModalPresser presser;
    presser.press(QStringLiteral("No"));
    window.findChild<QPushButton*>(QStringLiteral("optOutRemove"))->click();
    EXPECT_TRUE(presser.done());
    EXPECT_EQ(presser.texts(), QStringList{OptOutRegister::removalQuestion(QStringLiteral("+393331234567"))});
    EXPECT_EQ(window.rowCount(), 1) << "No keeps the number";

    home.clock.set(QDateTime(QDate(2026, 3, 15), QTime(8, 0)));
    presser.press(QStringLiteral("Sì"));
    window.findChild<QPushButton*>(QStringLiteral("optOutRemove"))->click();
    EXPECT_TRUE(presser.done());
    EXPECT_EQ(window.rowCount(), 0);
    const auto entry =
        OptOutRegister(*home.state.store, home.state.folder.bookList()).find(QStringLiteral("3331234567"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->note, QStringLiteral("al telefono"));
    EXPECT_EQ(entry->removed, QStringLiteral("15/03/2026 08:00:00"));
    window.findChild<QCheckBox*>(QStringLiteral("optOutShowRemoved"))->setChecked(true);
    EXPECT_EQ(window.rowCount(), 1) << "a removed number is still told apart from one never there";
}

TEST(ExcludeFromSending, AddsTheContactsNumbersAndSaysWhatCameOfEach)
{
    test::TestHome home;
    home.dialogs.expectMessage(
        QStringLiteral("Numeri aggiunti al registro \"Numeri esclusi\": 1. Già presenti: "
                       "1.\nNumeri non validi, non aggiunti: 33a"),
        MessageIcon::Exclamation);
    excludeFromSending(
        home.context(), QStringLiteral("Clienti"),
        {QStringLiteral("3331112222"), QStringLiteral("33a"), QStringLiteral("+39 333 111 2222")});
    EXPECT_TRUE(home.dialogs.done());
    const auto entry =
        OptOutRegister(*home.state.store, home.state.folder.bookList()).find(QStringLiteral("3331112222"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->note, QStringLiteral("dalla rubrica \"Clienti\""));
}
