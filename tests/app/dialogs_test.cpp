#include "app/disclaimerdialog.h"
#include "app/ericsoftfolderdialog.h"
#include "app/exportwaitbox.h"
#include "app/headerdialog.h"
#include "core/programstate.h"
#include "tests/support/testhome.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QPushButton* button(QWidget& form, const char* name)
{
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

TEST(DisclaimerDialog, AcceptRewritesTheSwitchRefuseLeavesIt)
{
    TestHome home;
    home.writeFile(QStringLiteral("mostra.txt"), {QStringLiteral("1")});
    home.writeFile(QStringLiteral("disclaimer.txt"), {QStringLiteral("Uno"), QStringLiteral("Due")});
    const QString mostra = home.path(QStringLiteral("mostra.txt"));

    DisclaimerDialog refused(home.state.folder, home.dialogs);
    EXPECT_EQ(refused.text(), QStringLiteral("\nUno\nDue"));
    refused.show();
    button(refused, "Command2")->click();
    EXPECT_EQ(refused.result(), QDialog::Rejected);
    EXPECT_EQ(bytes(mostra), QByteArray("1\r\n"));

    DisclaimerDialog accepted(home.state.folder, home.dialogs);
    accepted.show();
    button(accepted, "Command1")->click();
    EXPECT_EQ(accepted.result(), QDialog::Accepted);
    EXPECT_EQ(bytes(mostra), QByteArray("0\r\n"));
}

TEST(DisclaimerDialog, ASwitchThatCannotBeWrittenIsReportedAndTheUserStillAccepts)
{
    TestHome home;
    // A folder where the file should be: no file can replace it.
    QFile::remove(home.path(QStringLiteral("mostra.txt")));
    ASSERT_TRUE(QDir(home.dir.path()).mkdir(QStringLiteral("mostra.txt")));
    DisclaimerDialog dialog(home.state.folder, home.dialogs);
    dialog.show();
    home.dialogs.expectMessage(
        QStringLiteral("Impossibile salvare la scelta: il file \"mostra.txt\" non può "
                       "essere scritto. L'avviso verrà mostrato di nuovo al prossimo avvio."),
        MessageIcon::Critical);
    button(dialog, "Command1")->click();
    EXPECT_TRUE(home.dialogs.done());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(HeaderDialog, AStoredHeaderLongerThanElevenIsShownAndKeptWhole)
{
    TestHome home;
    home.writeFile(QStringLiteral("intestazione"), {QStringLiteral("Pizzeria Da Mario")});
    HeaderDialog dialog(home.context());
    dialog.show();
    EXPECT_EQ(dialog.headerEdit()->text(), QStringLiteral("Pizzeria Da Mario"));
    // Typing cannot lengthen it; it can shorten it, and then not past its own length.
    dialog.headerEdit()->end(false);
    QTest::keyClicks(dialog.headerEdit(), QStringLiteral("!"));
    EXPECT_EQ(dialog.headerEdit()->text(), QStringLiteral("Pizzeria Da Mario"));
    QTest::keyClick(dialog.headerEdit(), Qt::Key_Backspace);
    QTest::keyClicks(dialog.headerEdit(), QStringLiteral("aa"));
    EXPECT_EQ(dialog.headerEdit()->text(), QStringLiteral("Pizzeria Da Maria"));

    home.dialogs.expectMessage(QStringLiteral("Intestazione Modificata correttamente"), MessageIcon::None);
    button(dialog, "Command1")->click();
    EXPECT_EQ(bytes(home.path(QStringLiteral("intestazione"))), QByteArray("Pizzeria Da Maria\r\n"));
    EXPECT_EQ(home.state.intestazione, QStringLiteral("Pizzeria Da Maria"));
}

TEST(HeaderDialog, SavesElevenCharactersWithOneLineBreakAndUpdatesAtOnce)
{
    TestHome home;
    home.writeFile(QStringLiteral("intestazione"), {QStringLiteral("Vecchia")});
    HeaderDialog dialog(home.context());
    EXPECT_EQ(dialog.headerEdit()->text(), QStringLiteral("Vecchia"));

    dialog.headerEdit()->setText(QString());
    dialog.show();
    for (const QChar c : QStringLiteral("Studio Rossi 1"))
        dialog.headerEdit()->insert(QString(c));
    EXPECT_EQ(dialog.headerEdit()->text(), QStringLiteral("Studio Ross"));

    home.dialogs.expectMessage(QStringLiteral("Intestazione Modificata correttamente"), MessageIcon::None);
    button(dialog, "Command1")->click();
    EXPECT_EQ(bytes(home.path(QStringLiteral("intestazione"))), QByteArray("Studio Ross\r\n"));
    EXPECT_EQ(home.state.intestazione, QStringLiteral("Studio Ross"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(HeaderDialog, MissingFileShowsAnEmptyBoxAndCloseSavesNothing)
{
    TestHome home;
    home.state.intestazione = QStringLiteral("Attuale");
    HeaderDialog dialog(home.context());
    EXPECT_EQ(dialog.headerEdit()->text(), QString());
    dialog.headerEdit()->setText(QStringLiteral("Nuova"));
    dialog.show();
    button(dialog, "Command2")->click();
    EXPECT_FALSE(QFile::exists(home.path(QStringLiteral("intestazione"))));
    EXPECT_EQ(home.state.intestazione, QStringLiteral("Attuale"));
}

TEST(EricsoftFolderDialog, CancelledChooserChangesNothing)
{
    TestHome home;
    home.writeFile(QStringLiteral("persorso"), {QStringLiteral("/srv/ericsoft")});
    EricsoftFolderDialog dialog(home.context());
    EXPECT_EQ(dialog.shownFolder(), QStringLiteral("/srv/ericsoft"));
    EXPECT_EQ(home.state.percorsoericsoft, QStringLiteral("/srv/ericsoft"));

    home.dialogs.expectFolder(QString());
    button(dialog, "Command1")->click();
    EXPECT_EQ(bytes(home.path(QStringLiteral("persorso"))), QByteArray("/srv/ericsoft\r\n"));
    EXPECT_EQ(dialog.shownFolder(), QStringLiteral("/srv/ericsoft"));
    EXPECT_EQ(home.state.percorsoericsoft, QStringLiteral("/srv/ericsoft"));
    ASSERT_EQ(home.dialogs.calls().size(), 1u);
    EXPECT_EQ(home.dialogs.calls()[0].title, QStringLiteral("Select folder"));
}

TEST(EricsoftFolderDialog, ChosenFolderIsStoredWhole)
{
    TestHome home;
    EricsoftFolderDialog dialog(home.context());
    EXPECT_EQ(dialog.shownFolder(), QString());
    const QString chosen = QStringLiteral("/mnt/archivi ericsoft/") + QString(200, u'x');
    home.dialogs.expectFolder(chosen);
    dialog.choose();
    EXPECT_EQ(bytes(home.path(QStringLiteral("persorso"))), (chosen + QStringLiteral("\r\n")).toUtf8());
    EXPECT_EQ(dialog.shownFolder(), chosen);
    EXPECT_EQ(home.state.percorsoericsoft, chosen);
}

TEST(ExportWaitBox, FinishClosesItAtTheNextIdleMoment)
{
    ExportWaitBox box;
    box.show();
    EXPECT_EQ(box.size(), QSize(246, 112));
    box.finish();
    EXPECT_TRUE(box.isVisible());
    QApplication::processEvents();
    EXPECT_FALSE(box.isVisible());
}

} // namespace
