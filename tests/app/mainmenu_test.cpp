#include "app/mainwindow.h"
#include "tests/support/testhome.h"
#include "ui/mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

QStringList entries(const QMenu* menu, bool enabledOnly = false)
{
    QStringList result;
    for (const QAction* action : menu->actions()) {
        if (!enabledOnly || action->isEnabled())
            result << action->objectName() + u'=' + QString(action->text()).remove(u'&');
    }
    return result;
}

TEST(MainMenu, EveryEntryInOrderWithItsNameAndCaption)
{
    TestHome home;
    MainWindow window(home.context());
    QStringList menus;
    for (const QAction* top : window.menuBar()->actions())
        menus << top->objectName() + u'=' + top->text();
    // Each menu opens with Alt and its first letter.
    EXPECT_EQ(menus, QStringList({QStringLiteral("fil=&File"), QStringLiteral("ru=&Rubrica"),
                                  QStringLiteral("modi=&SMS"), QStringLiteral("geac=&Gestione Account"),
                                  QStringLiteral("help=&?")}));

    const auto menu = [&](const char* name) { return window.findChild<QMenu*>(QString::fromLatin1(name)); };
    EXPECT_EQ(
        entries(menu("fil")),
        QStringList({QStringLiteral("exru=Esporta Rubrica"), QStringLiteral("exvcard=Esporta vCard"),
                     QStringLiteral("impcvs=Importa file csv"), QStringLiteral("impvcard=Importa file vCard"),
                     QStringLiteral("imph3=Importa da Ericsoft"),
                     QStringLiteral("iae=Imposta Archivi Ericsoft"), QStringLiteral("configu=Configura"),
                     QStringLiteral("permut=Permessi Utente"), QStringLiteral("newpref=Nuovi Prefissi"),
                     QStringLiteral("chiuso=Chiudi")}));
    EXPECT_EQ(entries(menu("ru")),
              QStringList({QStringLiteral("nr=Gestione Rubriche"), QStringLiteral("inru=Inserisci Contatto"),
                           QStringLiteral("cececo=Cerca Contatto")}));
    EXPECT_EQ(
        entries(menu("modi")),
        QStringList({QStringLiteral("ismss=Invia SMS Singoli"), QStringLiteral("ismsm=Invia SMS Multipli"),
                     QStringLiteral("invprog=Invii Programmati"), QStringLiteral("numesc=Numeri esclusi"),
                     QStringLiteral("esinv=Esito Invio"), QStringLiteral("statistiche=Statistiche"),
                     QStringLiteral("canse=Cancella Spuntati")}));
    EXPECT_EQ(entries(menu("geac")),
              QStringList({QStringLiteral("acqs=Acquista SMS"), QStringLiteral("aaa=Aggiorna Credito"),
                           QStringLiteral("datiaccount=Dati Account")}));
    EXPECT_EQ(entries(menu("help")),
              QStringList({QStringLiteral("he=Help"), QStringLiteral("guad=Guadagna con noi"),
                           QStringLiteral("inform=Info")}));

    // Every entry opens with Alt and a letter of its own within its menu.
    for (const QAction* top : window.menuBar()->actions()) {
        QString letters;
        for (const QAction* entry : top->menu()->actions())
            letters += letters.contains(mnemonics::letterOf(entry->text()))
                           ? QChar()
                           : mnemonics::letterOf(entry->text());
        EXPECT_FALSE(letters.contains(QChar())) << top->text().toStdString();
    }
}

TEST(MainMenu, AltLetterOpensItsMenuAndF10ReachesTheMenuBar)
{
    TestHome home;
    MainWindow window(home.context());
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    QTest::keyClick(&window, Qt::Key_F10);
    EXPECT_EQ(window.menuBar()->activeAction(), window.menuBar()->actions().constFirst());
    QTest::keyClick(window.menuBar(), Qt::Key_Escape);
    QTest::keyClick(window.menuBar(), Qt::Key_Escape);

    QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
    QApplication::processEvents();
    auto* rubrica = window.findChild<QMenu*>(QStringLiteral("ru"));
    EXPECT_TRUE(rubrica->isVisible());
    rubrica->close();
}

TEST(MainMenu, OnlyWhatWorksIsSwitchedOn)
{
    TestHome home;
    MainWindow window(home.context());
    QStringList enabled;
    for (const char* name : {"fil", "ru", "modi", "geac", "help"})
        enabled << entries(window.findChild<QMenu*>(QString::fromLatin1(name)), true);
    EXPECT_EQ(enabled, QStringList({QStringLiteral("configu=Configura"), QStringLiteral("chiuso=Chiudi"),
                                    QStringLiteral("canse=Cancella Spuntati"),
                                    QStringLiteral("acqs=Acquista SMS"), QStringLiteral("he=Help"),
                                    QStringLiteral("guad=Guadagna con noi"), QStringLiteral("inform=Info")}));
    // The credit refresh comes on with its query.
    window.setCreditQuery([] { return QStringLiteral("1"); });
    EXPECT_TRUE(window.action(QStringLiteral("aaa"))->isEnabled());
    EXPECT_EQ(window.action(QStringLiteral("nessuno")), nullptr);
}

TEST(MainMenu, ToolbarButtonsAreTheMenuActions)
{
    TestHome home;
    MainWindow window(home.context());
    QList<QAction*> expected;
    for (const char* name : {"cececo", "nr", "inru", "ismss", "ismsm", "canse", "programma"})
        expected << window.action(QString::fromLatin1(name));
    EXPECT_EQ(window.toolbar()->actions(), expected);
}

} // namespace
