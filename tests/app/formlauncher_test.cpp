#include "app/formlauncher.h"
#include "app/mainwindow.h"
#include "books/bookmanager.h"
#include "books/contacteditor.h"
#include "browser/archivelist.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "messaging/composer.h"
#include "messaging/scheduledbatcheswindow.h"
#include "sending/batchplan.h"
#include "sending/creditquery.h"
#include "sending/scheduledstore.h"
#include "tests/messaging/batchsupport.h"
#include "tests/support/modalpresser.h"
#include "transfer/csvimport.h"
#include "ui/qtdialogs.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::SandboxHome;
using parlix::test::TestHome;
using parlix::test::waitUntil;
using HomeDialogs = parlix::test::ScriptedDialogs;

namespace {

// The main window with every form connected, on a data folder whose account
// is the sandbox's demo account.
struct Program
{
    // Real boxes are answered through `presser`, scripted ones through the
    // home's scripted dialogs.
    enum class Boxes { Scripted, Real };

    explicit Program(const std::vector<std::string>& sandboxArguments = {}, Boxes boxes = Boxes::Scripted)
        : sandbox(sandboxArguments),
          context(boxes == Boxes::Real ? AppContext{sandbox.home.state, realDialogs, sandbox.home.clock}
                                       : sandbox.home.context()),
          window(context), forms(window, context, sandbox.factory())
    {}

    void start()
    {
        forms.install();
        window.load();
        window.show();
    }

    // Shows the contacts of the first book and waits for the list to fill.
    void showContacts(int expectedRows)
    {
        window.clickNode(2);
        ASSERT_TRUE(waitUntil([&] { return window.archiveList()->rowCount() == expectedRows; }));
    }

    // Runs `action` while `inside` handles the modal window it opens.
    template <typename Form> void whileModal(const QString& action, std::function<void(Form&)> inside)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<Form*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr) << "no modal " << action.toStdString();
            seen = true;
            inside(*form);
        });
        window.action(action)->trigger();
        EXPECT_TRUE(seen) << action.toStdString();
    }

    void addContact(const QString& nome, const QString& cognome, const QString& cellulare)
    {
        sandbox.home.addContact(QStringLiteral("Principale"), nome, cognome, cellulare);
    }

    // Starts the program on the first book's contacts, all ticked.
    void startWithAllTicked(int rows)
    {
        start();
        showContacts(rows);
        window.archiveList()->setSelectAll(true);
    }

    static void writeAndSend(Composer& composer, const QString& text)
    {
        composer.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(text);
        composer.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    }

    SandboxHome sandbox;
    QtDialogs realDialogs;
    AppContext context;
    MainWindow window;
    FormLauncher forms;
    parlix::test::ModalPresser presser;
};

TEST(ProgramWiring, CreditRefreshAsksTheGatewayWithTheStoredAccount)
{
    Program program({"--credit", "42"});
    program.start();
    bool finished = false;
    QObject::connect(&program.window, &MainWindow::creditRefreshFinished, [&] { finished = true; });
    program.sandbox.home.dialogs.expectMessage(QStringLiteral("Credito Aggiornato"),
                                               MessageIcon::Information);
    program.window.action(QStringLiteral("aaa"))->trigger();
    ASSERT_TRUE(waitUntil([&] { return finished; }));
    EXPECT_EQ(program.window.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
              QStringLiteral("Credito residuo 42"));
    EXPECT_EQ(program.sandbox.residui(), QStringLiteral("42\r\n"));
}

TEST(ProgramWiring, CreditRefreshWithoutAnAccountSaysWhereToSetIt)
{
    Program program;
    QFile::remove(program.sandbox.home.path(QStringLiteral("account")));
    program.start();
    program.sandbox.home.dialogs.expectMessage(missingAccountText(), MessageIcon::Exclamation);
    program.window.action(QStringLiteral("aaa"))->trigger();
    EXPECT_TRUE(program.sandbox.home.dialogs.done());
    EXPECT_EQ(program.window.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
              QStringLiteral("Credito residuo 0"));
    EXPECT_EQ(program.sandbox.residui(), QStringLiteral("<missing>"));
}

TEST(ProgramWiring, MultipleSendOpensTheComposerOnTheTickedNumbersInListOrder)
{
    Program program;
    program.sandbox.home.addContact(QStringLiteral("Principale"), QStringLiteral("Anna"),
                                    QStringLiteral("Verdi"), QStringLiteral("3330000003"));
    program.sandbox.home.addContact(QStringLiteral("Principale"), QStringLiteral("Bruno"),
                                    QStringLiteral("Bianchi"), QStringLiteral("3330000001"));
    program.sandbox.home.addContact(QStringLiteral("Principale"), QStringLiteral("Carla"),
                                    QStringLiteral("Rossi"), QStringLiteral("3330000002"));
    program.start();
    program.showContacts(3);
    ArchiveList& list = *program.window.archiveList();
    list.setTicked(0, true); // Bianchi
    list.setTicked(2, true); // Verdi

    QStringList recipients;
    program.whileModal<Composer>(QStringLiteral("ismsm"), [&](Composer& composer) {
        EXPECT_TRUE(composer.multipleMode());
        recipients = composer.recipients();
        composer.reject();
    });
    EXPECT_EQ(recipients, QStringList({QStringLiteral("3330000001"), QStringLiteral("3330000003")}));
}

const QString multipleWarning = QStringLiteral(
    "L'invio di SMS Multipli può richiedere alcuni minuti non interrompere il software durante "
    "l'elaborazione\nFare click su OK per procedere con l'invio degli sms");

TEST(ProgramWiring, TickedContactsReceiveTheSmsAndTheCreditLabelFollows)
{
    Program program({"--credit", "10"});
    program.addContact(QStringLiteral("Anna"), QStringLiteral("Verdi"), QStringLiteral("3330000003"));
    program.addContact(QStringLiteral("Bruno"), QStringLiteral("Bianchi"), QStringLiteral("3330000001"));
    program.startWithAllTicked(2);

    HomeDialogs& dialogs = program.sandbox.home.dialogs;
    program.whileModal<Composer>(QStringLiteral("ismsm"), [&](Composer& composer) {
        dialogs.expectMessage(multipleWarning, MessageIcon::Information);
        dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"), MessageIcon::Information);
        Program::writeAndSend(composer, QStringLiteral("Aperti domenica"));
        ASSERT_TRUE(waitUntil([&] { return !composer.isVisible(); }));
    });
    EXPECT_EQ(program.sandbox.sentSms(),
              (QStringList{QStringLiteral("+393330000001|TEXT||Aperti domenica"),
                           QStringLiteral("+393330000003|TEXT||Aperti domenica")}));
    EXPECT_EQ(program.window.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
              QStringLiteral("Credito residuo 8"));
    EXPECT_EQ(program.sandbox.sentRecords().size(), 1);
}

TEST(ProgramWiring, TickedContactsWithoutNumberStopTheMultipleSendWhereverTheyStand)
{
    Program program;
    program.addContact(QStringLiteral("Anna"), QStringLiteral("Verdi"), QStringLiteral("3330000003"));
    program.addContact(QStringLiteral("Bruno"), QStringLiteral("Bianchi"), QString());
    program.addContact(QStringLiteral("Zeno"), QStringLiteral("Zeta"), QString());
    // Shown and ticked: Bianchi (first), Verdi, Zeta (last).
    program.startWithAllTicked(3);

    HomeDialogs& dialogs = program.sandbox.home.dialogs;
    program.whileModal<Composer>(QStringLiteral("ismsm"), [&](Composer& composer) {
        dialogs.expectMessage(
            QStringLiteral("2 dei destinatari non ha un numero di cellulare: togliere la spunta "
                           "a quei contatti prima dell'invio."),
            MessageIcon::Exclamation);
        Program::writeAndSend(composer, QStringLiteral("Aperti domenica"));
        EXPECT_TRUE(composer.findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
        dialogs.expectMessage(QStringLiteral("Il messaggio scritto non è stato inviato. Chiudere e perderlo?"),
                              MessageIcon::Question, Answer::Yes);
        composer.reject();
    });
    EXPECT_TRUE(program.sandbox.sentSms().isEmpty());
    EXPECT_TRUE(program.sandbox.sentRecords().isEmpty());
}

TEST(ProgramWiring, ClosingTheBookManagerRebuildsTheTree)
{
    Program program;
    program.start();
    ASSERT_EQ(program.window.nodeCount(), 8);
    program.whileModal<BookManager>(QStringLiteral("nr"), [&](BookManager& manager) {
        // A book arrives while the manager is open (as its own "Nuova" would add one).
        program.sandbox.home.setBooks({QStringLiteral("Principale"), QStringLiteral("Casa")});
        manager.reject();
    });
    EXPECT_EQ(program.window.nodeCount(), 12);
    EXPECT_EQ(program.window.node(3)->text(0), QStringLiteral("Casa"));
}

// Whatever "Gestione Rubriche" does to the books, the list's caption and rows
// belong to the selected node.
TEST(ProgramWiring, TheListFollowsItsBookThroughTheBookManager)
{
    struct Case
    {
        const char* change; // "delete" or "rename" the book at `book`
        int book;           // 0 Principale, 1 Ufficio, 2 Casa
        const char* caption;
        const char* firstSurname;
    };
    const Case cases[] = {
        {"delete", 2, " Principale", "Rossi"}, // the shown book goes
        {"rename", 2, " Villa", "Casalinghi"}, // the shown book is renamed
        {"delete", 1, " Casa", "Casalinghi"},  // a book before it goes
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(std::string(row.change) + " " + std::to_string(row.book));
        Program program;
        TestHome& home = program.sandbox.home;
        home.setBooks({QStringLiteral("Principale"), QStringLiteral("Ufficio"), QStringLiteral("Casa")});
        home.addContact(QStringLiteral("Principale"), QStringLiteral("Mario"), QStringLiteral("Rossi"),
                        QStringLiteral("3331"));
        home.addContact(QStringLiteral("Ufficio"), QStringLiteral("Ugo"), QStringLiteral("Uffici"),
                        QStringLiteral("3332"));
        home.addContact(QStringLiteral("Casa"), QStringLiteral("Carla"), QStringLiteral("Casalinghi"),
                        QStringLiteral("3333"));
        program.start();
        ArchiveList& list = *program.window.archiveList();
        program.window.clickNode(4); // the contacts of Casa
        ASSERT_TRUE(waitUntil([&] { return list.rowCount() == 1 && list.row(0).cells[2] == u"Casalinghi"; }));

        program.whileModal<BookManager>(QStringLiteral("nr"), [&](BookManager& manager) {
            manager.bookList()->setCurrentRow(row.book);
            const QString name = manager.bookList()->item(row.book)->text();
            if (std::string(row.change) == "delete") {
                home.dialogs.expectMessage(QStringLiteral("Cancellare la Rubrica: ") + name + u'?',
                                           MessageIcon::None, Answer::Ok, QStringLiteral("Cancella Rubrica"));
                manager.deleteBook();
            } else {
                home.dialogs.expectInput(QStringLiteral("Nuovo Nome Rubrica"), QStringLiteral("Villa"),
                                         QStringLiteral("Modifica Rubrica"));
                manager.renameBook();
            }
            manager.reject();
        });
        // Closing the manager activates the window again, which reloads.
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&program.window, &activate);
        ASSERT_TRUE(waitUntil([&] { return !list.reloadPending() && list.rowCount() == 1; }));
        EXPECT_EQ(list.archiveCaption(), QString::fromUtf8(row.caption));
        EXPECT_EQ(u' ' + list.currentBook(), QString::fromUtf8(row.caption));
        EXPECT_EQ(list.row(0).cells[2], QString::fromUtf8(row.firstSurname));
        EXPECT_EQ(program.window.node(program.window.selectedNodeIndex())->text(0), list.currentBook());
    }
}

TEST(ProgramWiring, InsertContactOpensANewContactWhileAnEditIsStillOpen)
{
    Program program;
    program.sandbox.home.addContact(QStringLiteral("Principale"), QStringLiteral("Anna"),
                                    QStringLiteral("Verdi"), QStringLiteral("3330000003"));
    program.start();
    program.showContacts(1);
    // The panel's "Modifica Contatto" leaves its editor open, not modal.
    program.forms.editContact(rowSelection(ArchiveKind::Contacts, program.window.archiveList()->row(0)));
    auto* editing = program.window.findChild<ContactEditor*>();
    ASSERT_NE(editing, nullptr);
    EXPECT_TRUE(editing->editMode());

    bool newMode = false;
    program.whileModal<ContactEditor>(QStringLiteral("inru"), [&](ContactEditor& editor) {
        newMode = !editor.editMode();
        editor.reject();
    });
    EXPECT_TRUE(newMode);
    editing->close();
}

TEST(ProgramJourney, EditingTheSecondOfTwoContactsSharingANumberKeepsTheFirst)
{
    Program program;
    TestHome& home = program.sandbox.home;
    // The CSV import lets two contacts share a number.
    home.writeFile(QStringLiteral("doppi.csv"), {QStringLiteral("Nome;Cognome;Cellulare;Posta elettronica"),
                                                 QStringLiteral("Anna;Bianchi;3331234567;a@x.it"),
                                                 QStringLiteral("Bruno;Rossi;3331234567;b@x.it")});
    ASSERT_EQ(CsvImport(home.state)
                  .run(home.path(QStringLiteral("doppi.csv")), QStringLiteral("Principale"))
                  .imported,
              2);
    program.start();
    program.showContacts(2);
    ArchiveList& list = *program.window.archiveList();
    ASSERT_EQ(list.row(1).cells[2], QStringLiteral("Rossi"));
    list.selectRow(1);
    program.window.showActionsPanel(QPoint())->modificaContatto();
    auto* editor = program.window.findChild<ContactEditor*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->findChild<QLineEdit*>(QStringLiteral("Text2"))->text(), QStringLiteral("Rossi"));
    editor->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("Carlo"));
    editor->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(home.rows(home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("rubrica")),
              QStringList({QStringLiteral("Anna|Bianchi|3331234567|a@x.it|4"),
                           QStringLiteral("Carlo|Rossi|3331234567|b@x.it|4")}));
}

TEST(ProgramWiring, AnUnreadableBookIsReportedOnceNotAtEveryActivation)
{
    Program program;
    program.sandbox.home.setBooks({QStringLiteral("Principale"), QStringLiteral("Sparita")});
    const QString path = program.sandbox.home.state.folder.bookPath(QStringLiteral("Sparita"));
    ASSERT_TRUE(QFile::remove(path));
    program.start();
    ASSERT_TRUE(waitUntil(
        [&] { return program.window.archiveList()->currentBook() == QStringLiteral("Principale"); }));

    program.sandbox.home.dialogs.expectMessage(
        QStringLiteral("Impossibile aprire l'archivio \"%1\".").arg(path), MessageIcon::Critical);
    program.window.clickNode(3);
    ASSERT_TRUE(waitUntil([&] { return program.sandbox.home.dialogs.done(); }));
    // Closing the box activates the main window again, which reloads the list.
    for (int i = 0; i < 3; ++i) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&program.window, &activate);
        QTest::qWait(20);
    }
    EXPECT_EQ(program.sandbox.home.dialogs.calls().size(), 1u);
    EXPECT_EQ(program.window.archiveList()->rowCount(), 0);
}

// Journeys through the real boxes: the buttons a user presses reach the code.

TEST(ProgramJourney, DeletingABookWithOkRemovesIt)
{
    Program program({}, Program::Boxes::Real);
    program.sandbox.home.setBooks({QStringLiteral("Principale"), QStringLiteral("Casa")});
    const QString path = program.sandbox.home.state.folder.bookPath(QStringLiteral("Casa"));
    program.start();
    program.whileModal<BookManager>(QStringLiteral("nr"), [&](BookManager& manager) {
        auto* books = manager.findChild<QListWidget*>(QStringLiteral("List1"));
        books->setCurrentRow(1);
        program.presser.press(QStringLiteral("OK"));
        manager.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        EXPECT_EQ(books->count(), 1);
        manager.reject();
    });
    EXPECT_EQ(program.presser.texts(), QStringList{QStringLiteral("Cancellare la Rubrica: Casa?")});
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(program.window.nodeCount(), 8);
}

TEST(ProgramJourney, SavingANumberWithTheItalianPrefixDropsThePrefixOnOk)
{
    Program program({}, Program::Boxes::Real);
    program.start();
    program.whileModal<Composer>(QStringLiteral("ismss"), [&](Composer& composer) {
        composer.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("+393331112222"));
        composer.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("Ciao"));
        program.presser.press(QStringLiteral("OK"));
        composer.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        EXPECT_FALSE(composer.isVisible());
    });
    EXPECT_EQ(program.presser.texts(),
              QStringList{QStringLiteral("Prefisso internazionele non necessario rimuovo il prefisso +39")});
    const QStringList saved = program.sandbox.home.rows(
        program.sandbox.home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("salvati"));
    ASSERT_EQ(saved.size(), 1);
    EXPECT_TRUE(saved.first().startsWith(QStringLiteral(" |3331112222|"))) << saved.first().toStdString();
}

TEST(ProgramJourney, TickedContactsGoOnYes)
{
    Program program({}, Program::Boxes::Real);
    program.addContact(QStringLiteral("Anna"), QStringLiteral("Verdi"), QStringLiteral("3330000003"));
    program.addContact(QStringLiteral("Bruno"), QStringLiteral("Bianchi"), QStringLiteral("3330000001"));
    program.addContact(QStringLiteral("Carla"), QStringLiteral("Rossi"), QStringLiteral("3330000002"));
    program.start();
    program.showContacts(3);
    ArchiveList& list = *program.window.archiveList();
    list.setTicked(0, true); // Bianchi
    list.setTicked(2, true); // Verdi
    program.presser.press(QStringLiteral("Sì"));
    program.window.action(QStringLiteral("canse"))->trigger();
    ASSERT_TRUE(waitUntil([&] { return list.rowCount() == 1; }));
    EXPECT_EQ(list.row(0).cells[0], QStringLiteral("3330000002"));
    EXPECT_EQ(program.presser.texts(),
              QStringList{QStringLiteral("Si desidera Cancellare i contatti selezionati? ")});
}

TEST(ProgramJourney, MultipleSmsReachesTheSandboxThroughTheRealBoxes)
{
    Program program({"--credit", "10"}, Program::Boxes::Real);
    program.addContact(QStringLiteral("Anna"), QStringLiteral("Verdi"), QStringLiteral("3330000003"));
    program.addContact(QStringLiteral("Bruno"), QStringLiteral("Bianchi"), QStringLiteral("3330000001"));
    program.startWithAllTicked(2);
    program.whileModal<Composer>(QStringLiteral("ismsm"), [&](Composer& composer) {
        program.presser.press(QStringLiteral("OK"));
        program.presser.press(QStringLiteral("OK"));
        Program::writeAndSend(composer, QStringLiteral("Aperti domenica"));
        ASSERT_TRUE(waitUntil([&] { return !composer.isVisible(); }));
    });
    EXPECT_EQ(program.presser.texts(),
              (QStringList{multipleWarning, QStringLiteral("Messaggio/i  inviato correttamente")}));
    EXPECT_EQ(program.sandbox.sentSms(),
              (QStringList{QStringLiteral("+393330000001|TEXT||Aperti domenica"),
                           QStringLiteral("+393330000003|TEXT||Aperti domenica")}));
}

} // namespace

namespace {

// A batch of Principale's contacts kept for 14/03/2026 at `hour`.
void keepBatch(Program& program, int hour)
{
    const QString book = program.sandbox.home.state.folder.bookPath(QStringLiteral("Principale"));
    const auto plan = BatchPlan::forNumbers(QStringLiteral("Ciao {Nome}"),
                                            {QStringLiteral("3331112222"), QStringLiteral("3334445555")},
                                            *program.sandbox.home.state.store, book, SplitMode::Fixed);
    ASSERT_TRUE(std::holds_alternative<BatchPlan>(plan));
    ScheduledStore(*program.sandbox.home.state.store, book)
        .add(ScheduledBatch::forPlan(std::get<BatchPlan>(plan), QDateTime(QDate(2026, 3, 14), QTime(hour, 0)),
                                     QStringLiteral("<lista>"), QStringLiteral("3331112222;3334445555")),
             std::get<BatchPlan>(plan));
}

} // namespace

TEST(ProgramWiring, DueBatchesGoWhileTheProgramRunsAndTheOthersWaitInTheirList)
{
    Program program({"--credit", "50"});
    program.addContact(QStringLiteral("Anna"), QStringLiteral("Bianchi"), QStringLiteral("3331112222"));
    program.addContact(QStringLiteral("Bruno"), QStringLiteral("Verdi"), QStringLiteral("3334445555"));
    // 09:10: the 09:00 batch is due, and not late enough to be asked about.
    program.sandbox.home.clock.set(QDateTime(QDate(2026, 3, 14), QTime(9, 10)));
    keepBatch(program, 9);
    keepBatch(program, 18); // not yet
    program.start();
    const auto* credit = program.window.findChild<QLabel*>(QStringLiteral("Label3"));
    ASSERT_TRUE(waitUntil([&] { return credit->text() == QStringLiteral("Credito residuo 48"); }));
    EXPECT_EQ(program.sandbox.sentSms(), (QStringList{QStringLiteral("+393331112222|TEXT||Ciao Anna"),
                                                      QStringLiteral("+393334445555|TEXT||Ciao Bruno")}));
    program.whileModal<ScheduledBatchesWindow>(QStringLiteral("invprog"), [](ScheduledBatchesWindow& list) {
        EXPECT_EQ(list.rowCount(), 1);
        list.accept();
    });
}
