// The main window of a desk on a shared database stays in step with the other
// desks: through an outage of its connections, and when books are made,
// renamed and deleted elsewhere.
#include "app/mainwindow.h"
#include "app/storefollower.h"
#include "books/contacteditor.h"
#include "browser/archivelist.h"
#include "contacts/bookcatalog.h"
#include "contacts/contactstore.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "store/pgconnection.h"
#include "store/storeerror.h"
#include "tests/support/testhome.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace parlix;
using parlix::test::Backend;
using parlix::test::TestHome;

namespace {

const QString principale = QStringLiteral("Principale");

// Messages are noted, not scripted: what the server says while it is out of
// reach is its own.
class NotedDialogs : public Dialogs
{
public:
    Answer message(const QString& text, MessageIcon, MessageButtons, const QString&) override
    {
        said << text;
        return Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&, int) override { return {}; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }

    QStringList said;
};

class SharedDeskTest : public ::testing::Test
{
protected:
    SharedDeskTest()
    {
        EXPECT_TRUE(
            textfile::writeLines(otherRoot.filePath(QStringLiteral("archivio")), {home.shared->address}));
        other = std::make_unique<ProgramState>(DataFolder(otherRoot.path()));
        window = std::make_unique<MainWindow>(AppContext{home.state, dialogs, home.clock});
        window->load();
        window->show();
    }

    QStringList treeBooks() const
    {
        QStringList books;
        const QTreeWidgetItem* contacts = window->node(1);
        for (int i = 0; contacts && i < contacts->childCount(); ++i)
            books << contacts->child(i)->text(0);
        return books;
    }

    QStringList listSurnames() const
    {
        QStringList names;
        for (int i = 0; i < window->archiveList()->rowCount(); ++i)
            names << window->archiveList()->row(i).cells[2];
        return names;
    }

    void addElsewhere(const QString& book, const QString& cognome)
    {
        ContactStore(*other).add(book, {QStringLiteral("N"), cognome, QStringLiteral("333") + cognome,
                                        QStringLiteral(" "), QStringLiteral("4")});
    }

    void clickBook(const QString& book)
    {
        window->clickNode(int(treeBooks().indexOf(book)) + 2);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->archiveList()->reloadPending(); }, 5000));
    }

    TestHome home{Backend::Postgres};
    QTemporaryDir otherRoot;
    std::unique_ptr<ProgramState> other;
    NotedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

// Every connection of the desk is cut and none can be made for a while (as
// across a server restart): the window says so, a reload in the meantime
// fails, and once the database is back the list and the tree show what
// another desk did meanwhile, with nobody touching the window.
TEST_F(SharedDeskTest, AfterAnOutageEveryConnectionComesBackAndTheWindowCatchesUp)
{
    addElsewhere(principale, QStringLiteral("Prima"));
    clickBook(principale);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return listSurnames() == QStringList{QStringLiteral("Prima")}; }, 5000));

    const QString database = home.shared->address.section(u'=', -1); // "... dbname=NAME"
    PgConnection admin(test::StoreHome::clusterAddress() + QStringLiteral(" dbname=postgres"));
    const auto allowConnections = [&](bool allow) {
        admin.exec(
            QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                .arg(pgIdentifier(database), allow ? QStringLiteral("true") : QStringLiteral("false")));
    };
    allowConnections(false);
    admin.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = $1"),
               {database});
    const QString unreachable = QStringLiteral("Archivio condiviso non raggiungibile");
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->follower().note().startsWith(unreachable); }, 10000))
        << window->follower().note().toStdString();
    window->archiveList()->scheduleReload();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->archiveList()->reloadPending(); }, 15000));
    EXPECT_TRUE(
        dialogs.said.value(dialogs.said.size() - 1).startsWith(u"Impossibile collegarsi all'archivio"));

    allowConnections(true);
    addElsewhere(principale, QStringLiteral("Dopo"));
    ASSERT_EQ(BookCatalog(*other).create(QStringLiteral("Nuova")), BookCatalog::Outcome::Done);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return listSurnames() == QStringList({QStringLiteral("Dopo"), QStringLiteral("Prima")}) &&
                   treeBooks().contains(QStringLiteral("Nuova"));
        },
        20000))
        << listSurnames().join(u',').toStdString() << " / " << treeBooks().join(u',').toStdString();
    EXPECT_EQ(window->follower().note(),
              QStringLiteral("Collegamento con l'archivio condiviso ristabilito."));
}

// What another desk does to the book list shows in the tree; a book shown
// that went is said plainly, and so is a contact stored into it.
TEST_F(SharedDeskTest, TheTreeFollowsBooksMadeRenamedAndDeletedElsewhere)
{
    ASSERT_EQ(BookCatalog(*other).create(QStringLiteral("Casa")), BookCatalog::Outcome::Done);
    ASSERT_TRUE(QTest::qWaitFor([&] { return treeBooks().contains(QStringLiteral("Casa")); }, 10000));
    struct Case
    {
        const char* what;
        QString shown; // the book clicked before
        std::function<BookCatalog::Outcome(BookCatalog&)> change;
        QStringList books;
        QString shownAfter;
        QString note;
    };
    const QString casa = QStringLiteral("Casa");
    const QString ufficio = QStringLiteral("Ufficio");
    const QString lavoro = QStringLiteral("Lavoro");
    const Case cases[] = {
        {"made elsewhere",
         casa,
         [&](BookCatalog& c) { return c.create(ufficio); },
         {principale, casa, ufficio},
         casa,
         {}},
        {"the shown book renamed elsewhere",
         casa,
         [&](BookCatalog& c) { return c.rename(casa, lavoro); },
         {principale, lavoro, ufficio},
         principale,
         StoreError::bookGone(casa).message()},
        {"the shown book deleted elsewhere",
         ufficio,
         [&](BookCatalog& c) { return c.remove(ufficio); },
         {principale, lavoro},
         principale,
         StoreError::bookGone(ufficio).message()},
        {"another book deleted elsewhere",
         principale,
         [&](BookCatalog& c) { return c.remove(lavoro); },
         {principale},
         principale,
         {}},
    };
    for (const Case& c : cases) {
        clickBook(c.shown);
        window->follower().say({});
        BookCatalog catalog(*other);
        ASSERT_EQ(c.change(catalog), BookCatalog::Outcome::Done) << c.what;
        EXPECT_TRUE(QTest::qWaitFor([&] { return treeBooks() == c.books; }, 10000))
            << c.what << ": " << treeBooks().join(u',').toStdString();
        EXPECT_EQ(window->tree()->currentItem()->text(0), c.shownAfter) << c.what;
        EXPECT_EQ(window->follower().note(), c.note) << c.what;
    }

    // A contact editor left open on a book that went says so, not that the number is wrong.
    ContactEditor editor(AppContext{home.state, dialogs, home.clock}, ufficio);
    editor.findChild<QComboBox*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("333"));
    editor.findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(QStringLiteral("1234567"));
    editor.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("Rossi"));
    dialogs.said.clear();
    editor.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(dialogs.said, QStringList{StoreError::bookGone(ufficio).message()});
}

} // namespace

// A book list the shared database cannot give is said with the server's own
// words, never as the path of a local file that plays no part.
TEST(SharedDeskLoad, SaysWhenTheSharedBookListCannotBeRead)
{
    TestHome home{Backend::Postgres};
    PgConnection(home.shared->address).exec(QStringLiteral("DROP TABLE elenco CASCADE"));
    NotedDialogs dialogs;
    MainWindow window(AppContext{home.state, dialogs, home.clock});
    window.load();
    const QString said = dialogs.said.value(0);
    EXPECT_TRUE(said.startsWith(u"Impossibile leggere l'elenco delle rubriche: ")) << said.toStdString();
    EXPECT_FALSE(said.contains(u"elenco.mdb")) << said.toStdString();
}
