#include "app/formlauncher.h"
#include "app/importwaitbox.h"
#include "app/mainwindow.h"
#include "app/transfercommands.h"
#include "browser/archivelist.h"
#include "core/textfile.h"
#include "tests/support/modalpresser.h"
#include "tests/support/testhome.h"
#include "transfer/csvimport.h"
#include "transfer/ericsoftmessages.h"
#include "ui/qtdialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

using namespace parlix;
using parlix::test::TestHome;

namespace {

QString ericsoftData(const char* folder)
{
    return QStringLiteral(PARLIX_TEST_DATA_DIR "/ericsoft/") + QString::fromUtf8(folder);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The main window over a test data folder, with the transfer commands.
struct Shell
{
    explicit Shell(TestHome& home, Dialogs& dialogs)
        : context{home.state, dialogs, home.clock}, window(context), commands(window, context)
    {
        window.load();
    }

    // Routes a click on node `index` and waits for the list to show `rows` rows.
    void showNode(int index, int rows)
    {
        window.clickNode(index);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return !window.archiveList()->reloadPending() && window.archiveList()->rowCount() == rows;
        }));
    }

    AppContext context;
    MainWindow window;
    TransferCommands commands;
};

const QString header = QStringLiteral("Nome;Cognome;Cellulare;Posta elettronica");

} // namespace

TEST(TransferMenu, ExportWritesTheTickedContactsOfABook)
{
    TestHome home;
    home.addContact(QStringLiteral("Principale"), QStringLiteral("Mario"), QStringLiteral("Rossi"),
                    QStringLiteral("3331"), QStringLiteral("m@r.it"));
    home.addContact(QStringLiteral("Principale"), QStringLiteral("Anna"), QStringLiteral("Bianchi"),
                    QStringLiteral("3332"));
    home.addContact(QStringLiteral("Principale"), QStringLiteral("Ugo"), QStringLiteral("Verdi, \"Jr\""),
                    QStringLiteral("3333"));
    Shell shell(home, home.dialogs);
    shell.showNode(2, 3);
    ArchiveList& list = *shell.window.archiveList();
    for (int i = 0; i < list.rowCount(); ++i)
        list.setTicked(i, list.row(i).cells[0] != QStringLiteral("3332"));

    const QString file = home.dir.filePath(QStringLiteral("uscita.csv"));
    home.dialogs.expectSaveFile(file);
    shell.commands.exportBook();
    EXPECT_EQ(home.dialogs.calls().back().title, QStringLiteral("Esporta Contatti"));
    EXPECT_EQ(readAll(file), (header + QStringLiteral("\r\nMario;Rossi;3331;m@r.it\r\n"
                                                      "Ugo;Verdi, \"Jr\";3333; \r\n"))
                                 .toUtf8());

    // Nothing ticked: the file holds the header alone, and the user is told.
    list.setSelectAll(false);
    for (int i = 0; i < list.rowCount(); ++i)
        list.setTicked(i, false);
    home.dialogs.expectSaveFile(file);
    home.dialogs.expectMessage(
        QStringLiteral("Nessun Contatto esportato\rSelezionare i contatti quindi ripetere il comando"),
        MessageIcon::Critical);
    shell.commands.exportBook();
    EXPECT_EQ(readAll(file), (header + QStringLiteral("\r\n")).toUtf8());

    // A cancelled dialog ends the command; a message archive is refused.
    home.dialogs.expectSaveFile(QString());
    shell.commands.exportBook();
    shell.showNode(4, 0);
    home.dialogs.expectMessage(QStringLiteral("Selezionare un archivio valido"), MessageIcon::Critical);
    shell.commands.exportBook();
}

TEST(TransferMenu, ImportAppendsToTheSelectedBookAndSaysWhereItStopped)
{
    TestHome home;
    Shell shell(home, home.dialogs);
    shell.showNode(2, 0);
    const QString file = home.dir.filePath(QStringLiteral("entrata.csv"));
    writeAll(file, "Cellulare;Cognome;Nome;Posta elettronica\r\n3331;Rossi;Mario;m@r.it\r\n"
                   "3332;Bianchi;Anna; \r\n3333;Verdi\r\n3334;Neri;Ugo;u@n.it\r\n");

    home.dialogs.expectOpenFile(file);
    home.dialogs.expectMessage(
        stoppedImportMessage(
            {CsvImportResult::Status::Stopped, 2, csv::StopLine{4, QStringLiteral("3333;Verdi"), 2}, {}}),
        MessageIcon::Exclamation);
    shell.commands.importCsv();
    EXPECT_EQ(home.dialogs.calls().front().title, QStringLiteral("Esporta Indirizzi Da: per rubrica"));
    EXPECT_EQ(
        home.rows(home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("rubrica")),
        (QStringList{QStringLiteral("Mario|Rossi|3331|m@r.it|4"), QStringLiteral("Anna|Bianchi|3332| |4")}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell.window.archiveList()->rowCount() == 2; }));

    // A whole file says what it brought in.
    writeAll(file, "Nome;Cognome;Cellulare;Posta elettronica\r\nUgo;Neri;3334;u@n.it\r\n");
    home.dialogs.expectOpenFile(file);
    home.dialogs.expectMessage(
        QStringLiteral("Importazione completata: 1 contatto importato nella rubrica \"Principale\"."),
        MessageIcon::Information);
    shell.commands.importCsv();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell.window.archiveList()->rowCount() == 3; }));

    // The group node "Rubriche" names no book.
    shell.showNode(1, 0);
    home.dialogs.expectOpenFile(file);
    home.dialogs.expectMessage(QStringLiteral("Selezionare un archivio valido"), MessageIcon::Critical);
    shell.commands.importCsv();
    EXPECT_FALSE(QFile::exists(home.state.folder.booksDir() + QStringLiteral("/Rubriche")));
}

TEST(TransferMenu, EricsoftImportAsksForTheFolderFirstThenImportsAndRebuildsTheTree)
{
    TestHome home;
    Shell shell(home, home.dialogs);
    ASSERT_TRUE(home.state.percorsoericsoft.isEmpty());

    // No folder: the message, then the folder dialog, where one is chosen.
    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), QStringLiteral("Form13"));
        dialogSeen = true;
        home.dialogs.expectFolder(ericsoftData("vfp"));
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    });
    home.dialogs.expectMessage(ericsoft::folderNotSetText(), MessageIcon::None);
    shell.commands.importEricsoft();
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(home.state.percorsoericsoft, ericsoftData("vfp"));
    EXPECT_EQ(textfile::readFirstLine(home.path(QStringLiteral("persorso"))), ericsoftData("vfp"));

    home.dialogs.expectMessage(QStringLiteral("Importazione Completata"), MessageIcon::None);
    shell.commands.importEricsoft();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(shell.window.findChild<ImportWaitBox*>(), nullptr);
    // Four groups, five books of four archives each.
    EXPECT_EQ(shell.window.nodeCount(), 4 + 5 * 4);
    EXPECT_EQ(shell.window.node(3)->text(0), QStringLiteral("Mercato-7"));
    EXPECT_TRUE(shell.window.node(1)->isExpanded());

    const struct
    {
        QString folder;
        QString message;
    } failures[] = {
        {home.dir.path(), QStringLiteral("Database non trovato")},
        {home.dir.filePath(QStringLiteral("assente")), ericsoft::unreadableText()},
        {ericsoftData("nofield"),
         QStringLiteral("Archivio Ericsoft non valido: nella tabella Anagrafiche manca il campo telefono_3")},
    };
    for (const auto& failure : failures) {
        home.state.percorsoericsoft = failure.folder;
        home.dialogs.expectMessage(failure.message, MessageIcon::Critical);
        shell.commands.importEricsoft();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_TRUE(ericsoft::unreadableText().startsWith(
        QStringLiteral("Controllare che il software Ericsoft non sia in esecuzione\r\nSe l'errore persiste "
                       "contattare l'assistenza su http")));
}

TEST(TransferMenu, ImportProgressCountsTheRowsOfTheFile)
{
    ImportWaitBox wait;
    wait.start();
    wait.setProgress(512, 2000);
    EXPECT_EQ(wait.progressBar()->value(), 512);
    EXPECT_EQ(wait.progressBar()->maximum(), 2000);
    EXPECT_EQ(wait.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Attendere Importazione in corso....."));
}

// Through the menu and Qt's real file dialog and message box.
TEST(TransferMenu, CsvImportJourneyThroughTheRealDialogs)
{
    TestHome home;
    QtDialogs dialogs;
    AppContext context{home.state, dialogs, home.clock};
    MainWindow window(context);
    FormLauncher forms(window, context, GatewayFactory{});
    forms.install();
    window.load();
    window.show();
    EXPECT_TRUE(window.action(QStringLiteral("exru"))->isEnabled());
    EXPECT_TRUE(window.action(QStringLiteral("impcvs"))->isEnabled());
    EXPECT_FALSE(window.action(QStringLiteral("imph3"))->isEnabled());
    EXPECT_FALSE(window.action(QStringLiteral("iae"))->isEnabled());
    window.clickNode(2);

    const QString file = home.dir.filePath(QStringLiteral("entrata.csv"));
    writeAll(file, "Nome;Cognome;Cellulare;Posta elettronica\nMario;Rossi;3331;m@r.it\n\n");

    // Answers the modal windows as they come: first the file dialog, then the message.
    std::deque<std::function<bool(QWidget*)>> steps = {
        [&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            if (!chooser)
                return false;
            EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Esporta Indirizzi Da: per rubrica"));
            // Typed into the name box and confirmed with the dialog's own button.
            auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            auto* buttons = chooser->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            if (!name || !buttons || !buttons->button(QDialogButtonBox::Open))
                return false;
            name->setText(file);
            buttons->button(QDialogButtonBox::Open)->click();
            return !chooser->isVisible();
        },
        [&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box)
                return false;
            EXPECT_EQ(box->text(), stoppedImportMessage(
                                       {CsvImportResult::Status::Stopped, 1, csv::StopLine{3, {}, 1}, {}}));
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            box->button(QMessageBox::Ok)->click();
            return true;
        },
    };
    QTimer responder;
    QElapsedTimer running;
    running.start();
    QObject::connect(&responder, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && !steps.empty() && steps.front()(modal))
            steps.pop_front();
        else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && running.hasExpired(20000))
            dialog->reject(); // a step that never matches fails the test instead of hanging it
    });
    responder.start(20);
    window.action(QStringLiteral("impcvs"))->trigger();
    responder.stop();
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(home.rows(home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("rubrica")),
              QStringList{QStringLiteral("Mario|Rossi|3331|m@r.it|4")});
}

TEST(TransferMenu, VcardExportWritesTheTickedContactsOrElseTheWholeBook)
{
    TestHome home;
    for (const char* number : {"3331", "3332", "3333"})
        home.addContact(QStringLiteral("Principale"), QStringLiteral("Ugo"), QString::fromLatin1(number),
                        QString::fromLatin1(number), QString());
    Shell shell(home, home.dialogs);
    shell.showNode(2, 3);
    ArchiveList& list = *shell.window.archiveList();
    const QString file = home.dir.filePath(QStringLiteral("uscita.vcf"));
    const auto cards = [&] { return readAll(file).count("BEGIN:VCARD"); };

    home.dialogs.expectSaveFile(file);
    shell.commands.exportVCard();
    EXPECT_EQ(home.dialogs.calls().back().title, QStringLiteral("Esporta vCard"));
    EXPECT_EQ(cards(), 3);

    list.setTicked(1, true);
    home.dialogs.expectSaveFile(file);
    shell.commands.exportVCard();
    EXPECT_EQ(readAll(file), QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:3332;Ugo;;;\r\nFN:Ugo 3332\r\n"
                                        "TEL;TYPE=CELL:3332\r\nEND:VCARD\r\n"));

    home.dialogs.expectSaveFile(home.dir.filePath(QStringLiteral("manca/uscita.vcf")));
    home.dialogs.expectMessage(QStringLiteral("Impossibile scrivere il file ") +
                                   home.dir.filePath(QStringLiteral("manca/uscita.vcf")) +
                                   QStringLiteral(": il file o la cartella non esiste"),
                               MessageIcon::Critical);
    shell.commands.exportVCard();
    shell.showNode(4, 0);
    home.dialogs.expectMessage(QStringLiteral("Selezionare un archivio valido"), MessageIcon::Critical);
    shell.commands.exportVCard();
}

// Through the menu, Qt's real file dialog and message box.
TEST(TransferMenu, VcardImportJourneyThroughTheRealDialogs)
{
    TestHome home;
    QtDialogs dialogs;
    AppContext context{home.state, dialogs, home.clock};
    MainWindow window(context);
    FormLauncher forms(window, context, GatewayFactory{});
    forms.install();
    window.load();
    window.show();
    window.clickNode(2);

    test::ModalPresser presser;
    presser.press(QStringLiteral("Open"), [](QWidget* box) {
        box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QStringLiteral(PARLIX_TEST_DATA_DIR "/vcard/broken.vcf"));
    });
    presser.press(QStringLiteral("OK"));
    window.action(QStringLiteral("impvcard"))->trigger();
    EXPECT_TRUE(presser.done());
    EXPECT_EQ(presser.texts(),
              (QStringList{QStringLiteral("Importa file vCard"),
                           QStringLiteral("Contatti importati: 1\rSchede senza numero di telefono, non "
                                          "importate: 2 (Senza Numero, Centralino)\rSchede incomplete o non "
                                          "leggibili, non importate: 2")}));
    EXPECT_EQ(home.rows(home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("rubrica")),
              QStringList{QStringLiteral("Carlo|Buono|3200000002||4")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.archiveList()->rowCount() == 1; }));
}
