#include "app/mainwindow.h"
#include "browser/archivelist.h"
#include "browser/archivemodel.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "tests/support/testhome.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

TEST(MainWindowLoad, OpensWithTheWholeToolbarInView)
{
    // Text beside the pictures (no "tbta") is the widest toolbar; under them, narrower.
    for (const bool textBeside : {true, false}) {
        TestHome home;
        if (!textBeside)
            home.writeFile(QStringLiteral("tbta"), {QStringLiteral("0"), QStringLiteral("2500")});
        MainWindow window(home.context());
        window.load();
        window.show();
        QApplication::processEvents();
        auto* toolbar = window.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        ASSERT_EQ(toolbar->actions().size(), 7);
        for (QAction* button : toolbar->actions()) {
            const QWidget* shown = toolbar->widgetForAction(button);
            ASSERT_TRUE(shown);
            EXPECT_TRUE(shown->isVisible()) << button->text().toStdString() << " hides in the overflow menu";
            EXPECT_LE(shown->geometry().right(), toolbar->contentsRect().right());
        }
        EXPECT_LE(window.width(), 18200 / 15);
    }
}

TEST(MainWindowLoad, SaysWhenTheBookListCannotBeRead)
{
    TestHome home;
    ASSERT_TRUE(QFile::remove(home.state.folder.bookList()));
    ASSERT_TRUE(QDir().mkdir(home.state.folder.bookList()));
    const QString path = home.state.folder.bookList();
    home.dialogs.expectMessage(
        QStringLiteral("Impossibile leggere l'elenco delle rubriche \"%1\": Impossibile aprire "
                       "l'archivio \"%1\".")
            .arg(path),
        MessageIcon::Critical);
    MainWindow window(home.context());
    window.load();
    EXPECT_TRUE(home.dialogs.done());
    EXPECT_EQ(window.nodeCount(), 4);
}

TEST(MainWindowLoad, BuildsTheTreeAndShowsTheCredit)
{
    TestHome home;
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Casa"), QStringLiteral("Lavoro")});
    home.writeFile(QStringLiteral("residui.txt"), {QStringLiteral("150")});
    MainWindow window(home.context());
    window.load();

    EXPECT_EQ(window.objectName(), QStringLiteral("MDIForm1"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Parlix"));
    ASSERT_EQ(window.nodeCount(), 16);
    EXPECT_EQ(window.tree()->topLevelItemCount(), 4);
    EXPECT_EQ(MainWindow::nodeKey(window.node(5)), QStringLiteral("a2"));
    EXPECT_EQ(window.node(14)->text(0), QStringLiteral("Principale"));
    EXPECT_EQ(window.node(14)->parent(), window.node(13));
    EXPECT_EQ(window.nodeIndex(window.node(16)), 16);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
              QStringLiteral("Credito residuo 150"));
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("Picture1"))
                  ->findChild<QLabel*>(QStringLiteral("Label2"))
                  ->text(),
              QStringLiteral("&Elenco Archivi")); // Alt+E reaches the tree

    // rebuildTree follows a change of the book list.
    home.setBooks({QStringLiteral("Principale")});
    window.rebuildTree();
    EXPECT_EQ(window.nodeCount(), 8);
    EXPECT_EQ(MainWindow::nodeKey(window.node(8)), QStringLiteral("c1"));
}

TEST(MainWindowLoad, ActivationSelectsTheRememberedNode)
{
    TestHome home;
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Casa")});
    MainWindow window(home.context());
    window.load();
    int activations = 0;
    QObject::connect(&window, &MainWindow::activated, [&] { ++activations; });
    // Node 6 is remembered while the tree's highlight is elsewhere.
    window.clickNode(6);
    {
        const QSignalBlocker quiet(window.tree());
        window.tree()->setCurrentItem(window.node(3));
    }
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activate);
    EXPECT_GE(activations, 1);
    EXPECT_TRUE(window.node(1)->isExpanded());
    EXPECT_EQ(window.tree()->currentItem(), window.node(6));
    EXPECT_EQ(MainWindow::nodeKey(window.tree()->currentItem()), QStringLiteral("s2"));
}

TEST(MainWindowLoad, NarrowStoredPanelIsWidenedAndPutsTextBelowImages)
{
    struct Case
    {
        const char* tbta;
        int alignment;
        int minWidth;
        int maxWidth;
    };
    for (const Case& c :
         {Case{"1,1000", 0, 1850, 1875}, Case{"1,2900", 1, 2985, 3015}, Case{"0,2900", 0, 2985, 3015},
          // Widths of 2300 to 2314 twips are no whole number of pixels; rounding must not narrow them.
          Case{"1,2200", 1, 2300, 2325}, Case{"1,2207", 1, 2307, 2325}, Case{"1,2214", 1, 2314, 2325},
          Case{"1,2199", 0, 2299, 2325}, Case{"5,2900", 1, 2500, 2520}}) {
        TestHome home;
        home.writeFile(QStringLiteral("tbta"), {QString::fromLatin1(c.tbta)});
        MainWindow window(home.context());
        window.resize(900, 600);
        window.load();
        window.show();
        QApplication::processEvents();
        EXPECT_EQ(window.toolbarTextAlignment(), c.alignment) << c.tbta;
        EXPECT_GE(window.panelWidthTwips(), c.minWidth) << c.tbta;
        EXPECT_LE(window.panelWidthTwips(), c.maxWidth) << c.tbta;
    }
}

} // namespace

namespace {

const QString principale = QStringLiteral("Principale");

// A loaded main window whose list has run its first reload.
struct LoadedWindow
{
    explicit LoadedWindow(const QStringList& books = {QStringLiteral("Principale")}) { home.setBooks(books); }

    MainWindow& open()
    {
        window = std::make_unique<MainWindow>(home.context());
        window->setUrlOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
        window->resize(900, 600);
        window->load();
        settle();
        return *window;
    }

    void settle()
    {
        for (int i = 0; i < 20 && window->archiveList()->reloadPending(); ++i)
            QApplication::processEvents();
    }

    void click(int index)
    {
        window->clickNode(index);
        settle();
    }

    ArchiveList& list() { return *window->archiveList(); }

    TestHome home;
    std::unique_ptr<MainWindow> window;
    QList<QUrl> opened;
};

TEST(MainWindowTree, LoadSelectsTheFirstBookAndShowsItsContacts)
{
    LoadedWindow w;
    w.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"));
    MainWindow& window = w.open();
    EXPECT_EQ(window.selectedNodeIndex(), 2);
    EXPECT_EQ(MainWindow::nodeKey(window.tree()->currentItem()), QStringLiteral("r1"));
    EXPECT_EQ(w.list().kindCaption(), QStringLiteral("Rubrica"));
    EXPECT_EQ(w.list().archiveCaption(), QStringLiteral(" Principale"));
    ASSERT_EQ(w.list().rowCount(), 1);
    EXPECT_EQ(w.list().row(0).cells[2], QStringLiteral("Rossi"));
    EXPECT_EQ(window.dateLabel()->text(), QStringLiteral("14/03/2026"));
}

TEST(MainWindowTree, GroupNodeShowsItsCaptionAndIsNoValidArchive)
{
    LoadedWindow w;
    MainWindow& window = w.open();
    w.click(5); // "SMS Inviati"
    EXPECT_EQ(w.list().kindCaption(), QStringLiteral("SMS Inviati"));
    EXPECT_EQ(w.list().archiveCaption(), QStringLiteral(" SMS Inviati"));
    EXPECT_EQ(w.list().model()->columnCount(), 0);
    EXPECT_EQ(window.selectedNodeIndex(), 5);

    w.home.dialogs.expectMessage(QStringLiteral("selezionare un Archivio Valido"), MessageIcon::Critical);
    window.action(QStringLiteral("canse"))->trigger();
}

TEST(MainWindowTree, CaptionFollowsTheTextTestsWhileTheListFollowsTheKey)
{
    LoadedWindow w({principale, QStringLiteral("Rossi"), QStringLiteral("AmicCasa")});
    w.home.addContact(QStringLiteral("AmicCasa"), QStringLiteral("Mario"), QStringLiteral("Bruni"),
                      QStringLiteral("3331"));
    w.home.addMessage(QStringLiteral("Rossi"), QStringLiteral("inviati"), QStringLiteral("Neri"),
                      QStringLiteral("3332"), QStringLiteral("01/01/2026 08:00:00"), QStringLiteral("ciao"));
    MainWindow& window = w.open();

    w.click(11); // "i2": Rossi under "SMS Inviati"
    EXPECT_EQ(MainWindow::nodeKey(window.tree()->currentItem()), QStringLiteral("i2"));
    EXPECT_EQ(w.list().kindCaption(), QStringLiteral("SMS Inviati"));
    ASSERT_EQ(w.list().rowCount(), 1);
    EXPECT_EQ(w.list().row(0).cells[1], QStringLiteral("Neri"));

    w.click(4); // "r3": AmicCasa under "Rubriche"
    EXPECT_EQ(w.list().kindCaption(), QStringLiteral("SMS Cancellati"));
    ASSERT_EQ(w.list().rowCount(), 1);
    EXPECT_EQ(w.list().row(0).cells[2], QStringLiteral("Bruni"));
}

TEST(MainWindowTree, CancellaSpuntatiDeletesTheTickedRowsOfTheBook)
{
    LoadedWindow w;
    w.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"));
    w.home.addContact(principale, QStringLiteral("Anna"), QStringLiteral("Bianchi"), QStringLiteral("3332"));
    MainWindow& window = w.open();
    w.list().setTicked(1, true); // Rossi
    w.home.dialogs.expectMessage(QStringLiteral("Si desidera Cancellare i contatti selezionati? "),
                                 MessageIcon::None, Answer::Yes);
    window.action(QStringLiteral("canse"))->trigger();
    w.settle();
    EXPECT_EQ(w.home.rows(w.home.state.folder.bookPath(principale), QStringLiteral("rubrica")),
              QStringList({QStringLiteral("Anna|Bianchi|3332| |4")}));
    EXPECT_EQ(w.list().rowCount(), 1);
}

TEST(MainWindowCredit, AnswerUpdatesFileLabelAndCredit)
{
    LoadedWindow w;
    w.home.writeFile(QStringLiteral("residui.txt"), {QStringLiteral("10")});
    MainWindow& window = w.open();
    window.setCreditQuery([] { return QStringLiteral("250"); });
    QSignalSpy finished(&window, &MainWindow::creditRefreshFinished);
    w.home.dialogs.expectMessage(QStringLiteral("Credito Aggiornato"), MessageIcon::Information);
    window.action(QStringLiteral("aaa"))->trigger();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(window.creditText(), QStringLiteral("Credito residuo 250"));
    EXPECT_EQ(w.home.state.credito, 250);
    EXPECT_EQ(textfile::readLines(w.home.path(QStringLiteral("residui.txt"))),
              QStringList({QStringLiteral("250")}));
}

TEST(MainWindowCredit, FailedQueryWarnsAndLeavesEverythingAlone)
{
    const QString unreachable =
        QStringLiteral("Connessione non Riuscita \nVerificare la Connessione ad Internet e ritentare");
    const struct
    {
        CreditAnswer answer;
        QString told;
    } cases[] = {
        {CreditAnswer(QString()), unreachable},
        {CreditAnswer(QStringLiteral("non disponibile")), unreachable},
        {CreditAnswer(QString(), CreditFailure::AccountRefused),
         QStringLiteral("Il servizio SMS non riconosce login e password.\n"
                        "Verificarli dal menu \"Gestione Account\", voce \"Dati Account\".")},
    };
    for (const auto& c : cases) {
        LoadedWindow w;
        w.home.writeFile(QStringLiteral("residui.txt"), {QStringLiteral("10")});
        MainWindow& window = w.open();
        window.setCreditQuery([answer = c.answer] { return answer; });
        QSignalSpy finished(&window, &MainWindow::creditRefreshFinished);
        w.home.dialogs.expectMessage(c.told, MessageIcon::Exclamation);
        window.refreshCredit();
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_EQ(window.creditText(), QStringLiteral("Credito residuo 10"));
        EXPECT_EQ(w.home.state.credito, 10);
        QFile file(w.home.path(QStringLiteral("residui.txt")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("10\r\n"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST(MainWindowPages, SayWhenNoBrowserCanBeStarted)
{
    LoadedWindow w;
    MainWindow& window = w.open();
    window.setUrlOpener([](const QUrl&) { return false; });
    const QString helpPage =
        QUrl::fromLocalFile(w.home.path(QStringLiteral("parlix.html"))).toDisplayString();
    const struct
    {
        const char* action;
        QString address;
    } cases[] = {
        {"he", helpPage},
        {"guad", vendorSite() + QStringLiteral("/affiliate1/affiliati.htm")},
    };
    for (const auto& c : cases) {
        w.home.dialogs.expectMessage(QStringLiteral("Impossibile avviare un browser per aprire la pagina ") +
                                         c.address + u'.',
                                     MessageIcon::Exclamation);
        window.action(QString::fromLatin1(c.action))->trigger();
        EXPECT_TRUE(w.home.dialogs.done()) << c.action;
    }
}

TEST(MainWindowPages, VendorPagesAndHelpOpenTheirAddresses)
{
    LoadedWindow w;
    w.home.writeFile(QStringLiteral("progra"), {QStringLiteral("R42-7")});
    MainWindow& window = w.open();
    for (const char* name : {"acqs", "programma", "guad", "he"})
        window.action(QString::fromLatin1(name))->trigger();
    const QString site = vendorSite();
    EXPECT_EQ(
        w.opened,
        QList<QUrl>({QUrl(site + QStringLiteral("/cgi-bin/affiliate/giacli.pl?affiliato=R42&codeaff=7")),
                     QUrl(site + QStringLiteral("/cgi-bin/affiliate/programma.pl?affiliato=R42&codeaff=7")),
                     QUrl(site + QStringLiteral("/affiliate1/affiliati.htm")),
                     QUrl::fromLocalFile(w.home.path(QStringLiteral("parlix.html")))}));
}

TEST(MainWindowLayout, RequestsBeforeTheTimerFiresGiveOneLayout)
{
    LoadedWindow w;
    MainWindow& window = w.open();
    QApplication::processEvents();
    QSignalSpy applied(&window, &MainWindow::layoutApplied);
    window.scheduleLayout();
    window.scheduleLayout();
    window.scheduleLayout();
    QApplication::processEvents();
    EXPECT_EQ(applied.count(), 1);
}

TEST(MainWindowLayout, NarrowWindowIsWidenedToSevenThousandTwips)
{
    LoadedWindow w;
    MainWindow& window = w.open();
    window.show();
    window.resize(300, 500);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(window.width(), 467);
}

TEST(MainWindowLayout, ChiudiClosesTheWindow)
{
    LoadedWindow w;
    MainWindow& window = w.open();
    window.show();
    window.action(QStringLiteral("chiuso"))->trigger();
    EXPECT_FALSE(window.isVisible());
}

TEST(MainWindowPanel, RightButtonOnTheListOpensThePanelAtThePointer)
{
    LoadedWindow w;
    MainWindow& window = w.open();
    window.move(40, 30);
    window.show();
    QApplication::processEvents();
    // The list reports the release in its own area; the panel opens where that is on the screen.
    const QPoint release(20, 15);
    emit w.list().rightButtonReleased(release);
    auto* panel = window.findChild<ActionsPanel*>(QStringLiteral("Form1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->pos(), w.list().view()->viewport()->mapToGlobal(release));
    panel->close();
}

} // namespace

TEST(MainWindowKeyboard, TabGoesRoundTheTreeAndTheList)
{
    TestHome home;
    MainWindow window(home.context());
    window.load();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.tree()->setFocus();
    QStringList focused;
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Backtab}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        focused << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(focused.join(u' '), QStringLiteral("Check1 lvw1 TreeView1 lvw1 Check1"));
}
