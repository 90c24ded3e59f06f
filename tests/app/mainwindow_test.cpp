#include "app/core/programstate.h"
#include "app/mainwindow.h"
#include "tests/support/testhome.h"

#include <QApplication>
#include <QLabel>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

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
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("Picture1"))->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
              QStringLiteral("Elenco Archivi"));

    // aggio follows a change of the book list.
    home.setBooks({QStringLiteral("Principale")});
    window.aggio();
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
    home.state.nodoselezionato = 6;
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
         {Case{"1,1000", 0, 1850, 1875}, Case{"1,2900", 1, 2985, 3015}, Case{"0,2900", 0, 2985, 3015}}) {
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
