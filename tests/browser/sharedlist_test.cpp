// The archive list of a data folder whose "archivio" names a shared database:
// another seat's changes show up on their own.
#include "browser/archivelist.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store.h"
#include "tests/store/storehome.h"
#include "tests/support/modalpresser.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testhome.h"
#include "ui/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace parlix;

namespace {

const QString principale = QStringLiteral("Principale");

class SharedListTest : public ::testing::Test
{
protected:
    SharedListTest()
    {
        EXPECT_TRUE(textfile::writeLines(dir.filePath(QStringLiteral("archivio")), {database.address}));
        state = std::make_unique<ProgramState>(DataFolder(dir.path()));
    }

    void makeList(Dialogs& boxes)
    {
        list = std::make_unique<ArchiveList>(AppContext{*state, boxes, clock}, [this] { return node; });
        list->resize(800, 300);
        list->show();
    }

    // Another seat adds a contact.
    void add(const QString& cognome, const QString& cellulare)
    {
        Recordset rs(other->open(database.bookPath(principale)),
                     queries::wholeTable(QStringLiteral("rubrica")));
        rs.addNew();
        rs.setField(u"Nome", QStringLiteral("N"));
        rs.setField(u"cognome", cognome);
        rs.setField(u"cellulare", cellulare);
        rs.update();
    }

    // Another seat deletes a contact by number.
    void remove(const QString& cellulare)
    {
        Recordset rs(other->open(database.bookPath(principale)), queries::contactByNumber(cellulare));
        rs.deleteCurrent();
    }

    // The tree click on the book's contacts, and the reload it asks for; then
    // the one refresh a new watch gives once it listens.
    void showContacts()
    {
        node = {QStringLiteral("r1"), principale};
        list->allowReload();
        QSignalSpy reloaded(list.get(), &ArchiveList::reloaded);
        list->clear();
        list->scheduleReload();
        EXPECT_TRUE(QTest::qWaitFor([&] { return reloaded.count() >= 2; }, 5000));
    }

    int rowOf(const QString& cognome) const
    {
        for (int i = 0; i < list->rowCount(); ++i) {
            if (list->row(i).cells[2] == cognome)
                return i;
        }
        return -1;
    }

    QStringList surnames() const
    {
        QStringList names;
        for (int i = 0; i < list->rowCount(); ++i)
            names << list->row(i).cells[2];
        return names;
    }

    test::StoreHome database{test::Backend::Postgres};
    std::shared_ptr<Store> other = database.seat();
    QTemporaryDir dir;
    std::unique_ptr<ProgramState> state;
    test::ScriptedDialogs dialogs;
    test::FixedClock clock{QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53))};
    SelectedNode node;
    std::unique_ptr<ArchiveList> list;
};

TEST_F(SharedListTest, AnotherSeatsDeleteAndAddShowUpKeepingTicksSelectionAndPlace)
{
    for (int i = 0; i < 60; ++i)
        add(QStringLiteral("Riempitivo %1").arg(i, 2, 10, QChar(u'0')), QStringLiteral("9%1").arg(i));
    add(QStringLiteral("Bianchi"), QStringLiteral("1"));
    add(QStringLiteral("Rossi"), QStringLiteral("2"));
    add(QStringLiteral("Verdi"), QStringLiteral("3"));
    makeList(dialogs);
    showContacts();
    ASSERT_EQ(list->rowCount(), 63);
    list->setTicked(rowOf(QStringLiteral("Rossi")), true);
    list->setTicked(rowOf(QStringLiteral("Verdi")), true);
    list->selectRow(rowOf(QStringLiteral("Riempitivo 30")));
    QScrollBar* scroll = list->view()->verticalScrollBar();
    scroll->setValue(scroll->maximum() / 2);
    const int place = scroll->value();
    ASSERT_GT(place, 0);
    remove(QStringLiteral("2"));
    add(QStringLiteral("Neri"), QStringLiteral("4"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rowOf(QStringLiteral("Neri")) >= 0; }, 5000));

    EXPECT_EQ(rowOf(QStringLiteral("Rossi")), -1);
    EXPECT_EQ(list->rowCount(), 63);
    std::vector<QString> ticked;
    for (const RowSelection& row : list->tickedRows())
        ticked.push_back(row.cognome);
    EXPECT_EQ(ticked, std::vector<QString>{QStringLiteral("Verdi")});
    EXPECT_EQ(list->currentRow(), rowOf(QStringLiteral("Riempitivo 30")));
    EXPECT_EQ(scroll->value(), place);
    EXPECT_TRUE(dialogs.calls().empty());
}

// While the real box asks about deleting the selected contact, the list stays
// as the user sees it; the other seat's contact shows up once it is answered.
TEST_F(SharedListTest, ChangesWaitWhileTheDeleteQuestionIsOpen)
{
    add(QStringLiteral("Bianchi"), QStringLiteral("1"));
    add(QStringLiteral("Rossi"), QStringLiteral("2"));
    QtDialogs boxes;
    makeList(boxes);
    showContacts();
    list->selectRow(rowOf(QStringLiteral("Rossi")));
    QStringList whileAsking;
    test::ModalPresser presser;
    presser.press(QStringLiteral("Sì"), [&](QWidget*) {
        add(QStringLiteral("Neri"), QStringLiteral("4"));
        QTest::qWait(1500);
        whileAsking = surnames();
    });
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list->view(), &press);

    EXPECT_TRUE(presser.done());
    EXPECT_EQ(presser.texts(), QStringList{QStringLiteral("Si desidera Cancellare la voce 2 ?")});
    EXPECT_EQ(whileAsking.join(u','), QStringLiteral("Bianchi,Rossi"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return surnames() == QStringList{QStringLiteral("Bianchi"), QStringLiteral("Neri")};
        },
        5000))
        << surnames().join(u',').toStdString();
}

} // namespace
