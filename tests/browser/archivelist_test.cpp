#include "browser/archivemodel.h"
#include "browser/elidedlabel.h"
#include "listfixture.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::ListFixture;

namespace {

const QString principale = QStringLiteral("Principale");

QStringList headers(const ArchiveList& list)
{
    QStringList captions;
    for (int i = 0; i < list.model()->columnCount(); ++i)
        captions << list.model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
    return captions;
}

QList<int> widths(const ArchiveList& list)
{
    QList<int> result;
    for (int i = 0; i < list.model()->columnCount(); ++i)
        result << list.view()->header()->sectionSize(i);
    return result;
}

void pressDelete(ArchiveList& list)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list.view(), &press);
}

TEST(ArchiveList, EachKindShowsItsColumnsWidthsAndSortOrder)
{
    struct Case
    {
        const char* key;
        const char* table;
        QStringList captions;
        QList<int> widths;
        int sortCell;
    };
    const QList<int> contactWidths{40, 113, 113, 113, 113};
    const QList<int> messageWidths{40, 113, 113, 113, 247};
    const QStringList messageCaptions{QString(), QStringLiteral("Cellulare"), QStringLiteral("Cognome"),
                                      QStringLiteral("Data"), QStringLiteral("Testo")};
    for (const Case& c : {Case{"r1", "rubrica",
                               QStringList{QString(), QStringLiteral("Cellulare"), QStringLiteral("Nome"),
                                           QStringLiteral("Cognome"), QStringLiteral("Email")},
                               contactWidths, 2},
                          Case{"s1", "salvati", messageCaptions, messageWidths, 1},
                          Case{"i1", "inviati", messageCaptions, messageWidths, 1},
                          Case{"c1", "cancellati", messageCaptions, messageWidths, 1}}) {
        ListFixture f;
        const QString table = QString::fromLatin1(c.table);
        if (table == u"rubrica") {
            f.home.addContact(principale, QStringLiteral("Zoe"), QStringLiteral("Verdi"),
                              QStringLiteral("1"));
            f.home.addContact(principale, QStringLiteral("Ada"), QStringLiteral("Neri"), QStringLiteral("2"));
            f.home.addContact(principale, QStringLiteral("Eva"), QStringLiteral("bruni"),
                              QStringLiteral("3"));
        } else {
            f.home.addMessage(principale, table, QStringLiteral("Verdi"), QStringLiteral("1"),
                              QStringLiteral("01/01/2026 00:00:00"), QStringLiteral("a"));
            f.home.addMessage(principale, table, QStringLiteral("Neri"), QStringLiteral("2"),
                              QStringLiteral("03/01/2026 00:00:00"), QStringLiteral("b"));
            f.home.addMessage(principale, table, QStringLiteral("bruni"), QStringLiteral("3"),
                              QStringLiteral("02/01/2026 00:00:00"), QStringLiteral("c"));
        }
        f.show(QString::fromLatin1(c.key), principale);

        EXPECT_EQ(headers(f.list), c.captions) << c.key;
        // The designed widths are the least a column gets; short texts need no more.
        const QList<int> shown = widths(f.list);
        for (int i = 0; i < int(c.widths.size()); ++i) {
            if (i == 3 && table != u"rubrica")
                EXPECT_GE(shown[i], c.widths[i]) << c.key << " the date widens to its text";
            else
                EXPECT_EQ(shown[i], c.widths[i]) << c.key << " column " << i;
        }
        EXPECT_EQ(f.column(c.sortCell),
                  QStringList({QStringLiteral("bruni"), QStringLiteral("Neri"), QStringLiteral("Verdi")}))
            << c.key;
        EXPECT_EQ(f.column(0), QStringList({QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")}))
            << c.key;
    }
}

TEST(ArchiveList, ColumnsWidenToTheirTextsUpToTwiceTheirDesignedWidth)
{
    ListFixture f;
    f.home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral("Rossi"), QStringLiteral("333"),
                      QStringLiteral("07/12/2026 09:15:02"), QString(400, u'x'));
    f.show(QStringLiteral("i1"), principale);
    const QList<int> shown = widths(f.list);
    const int dateWidth =
        f.list.view()->fontMetrics().horizontalAdvance(QStringLiteral("07/12/2026 09:15:02"));
    EXPECT_GE(shown[3], dateWidth) << "the whole date is readable";
    EXPECT_LE(shown[3], 2 * 113);
    EXPECT_EQ(shown[4], 2 * 247) << "a long text stops at its limit";
    EXPECT_EQ(shown[1], 113) << "a short number keeps the designed width";
}

TEST(ArchiveList, AClickOnAColumnTitleSortsByItAndASecondClickReverses)
{
    ListFixture f;
    const QString table = QStringLiteral("inviati");
    f.home.addMessage(principale, table, QStringLiteral("Bianchi"), QStringLiteral("2"),
                      QStringLiteral("06/12/2026 18:40:11"), QStringLiteral("b"));
    f.home.addMessage(principale, table, QStringLiteral("Rossi"), QStringLiteral("1"),
                      QStringLiteral("01/01/2027 08:00:00"), QStringLiteral("a"));
    f.home.addMessage(principale, table, QStringLiteral("azzurri"), QStringLiteral("3"),
                      QStringLiteral("07/12/2026 09:15:02"), QStringLiteral("c"));
    f.show(QStringLiteral("i1"), principale);
    f.list.model()->setTicked(0, true); // azzurri
    QHeaderView* header = f.list.view()->header();
    const auto click = [&](int column) {
        const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, centre, header->mapToGlobal(centre), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, header->mapToGlobal(centre), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &press);
        QApplication::sendEvent(header->viewport(), &release);
    };
    f.list.show();
    const struct
    {
        int column;
        QStringList surnames;
        Qt::SortOrder order;
    } steps[] = {
        {2,
         {QStringLiteral("Rossi"), QStringLiteral("Bianchi"), QStringLiteral("azzurri")},
         Qt::DescendingOrder},
        // Dates go by time: 01/01/2027 is the latest although its text sorts first.
        {3,
         {QStringLiteral("Bianchi"), QStringLiteral("azzurri"), QStringLiteral("Rossi")},
         Qt::AscendingOrder},
        {3,
         {QStringLiteral("Rossi"), QStringLiteral("azzurri"), QStringLiteral("Bianchi")},
         Qt::DescendingOrder},
        {1,
         {QStringLiteral("Rossi"), QStringLiteral("Bianchi"), QStringLiteral("azzurri")},
         Qt::AscendingOrder},
    };
    for (const auto& step : steps) {
        click(step.column);
        EXPECT_EQ(f.column(1), step.surnames) << "column " << step.column;
        EXPECT_EQ(header->sortIndicatorSection(), step.column);
        EXPECT_EQ(header->sortIndicatorOrder(), step.order);
        // The tick stays with its row.
        EXPECT_TRUE(f.list.model()->isTicked(int(f.column(1).indexOf(QStringLiteral("azzurri")))));
    }
    // Shown again (the window's activation reloads), the archive keeps the chosen order.
    f.list.scheduleReload();
    f.runReload();
    EXPECT_EQ(f.column(1), steps[3].surnames);
}

TEST(ArchiveList, ALongBookNameIsCutShortBeforeSelectAll)
{
    ListFixture f;
    const QString name = QStringLiteral(" Clienti dello studio dentistico Rossi e Bianchi di Milano centro");
    f.list.setArchiveCaption(name);
    f.list.resize(420, 300);
    f.list.show();
    QApplication::processEvents();
    auto* caption = f.list.findChild<ElidedLabel*>(QStringLiteral("Label6"));
    auto* selectAll = f.list.findChild<QCheckBox*>(QStringLiteral("Check1"));
    ASSERT_TRUE(caption && selectAll);
    EXPECT_EQ(f.list.archiveCaption(), name) << "the caption keeps the whole name";
    EXPECT_TRUE(caption->shownText().endsWith(u'…')) << caption->shownText().toStdString();
    EXPECT_LE(caption->geometry().right(), selectAll->geometry().left());
    EXPECT_GE(selectAll->width(), selectAll->sizeHint().width());
}

TEST(ArchiveList, EmptyArchiveShowsCaptionsAndNoRowsAndSelectAllOnlyChangesCaption)
{
    ListFixture f;
    f.show(QStringLiteral("i1"), principale);
    EXPECT_EQ(headers(f.list).size(), 5);
    EXPECT_EQ(f.list.rowCount(), 0);

    auto* check = f.list.findChild<QCheckBox*>(QStringLiteral("Check1"));
    check->click();
    EXPECT_EQ(check->text(), QStringLiteral("Deseleziona Tutto"));
    check->click();
    EXPECT_EQ(check->text(), QStringLiteral("Seleziona Tutto"));
}

TEST(ArchiveList, SelectAllTicksAndUnticksEveryRow)
{
    ListFixture f;
    for (int i = 0; i < 3; ++i)
        f.home.addContact(principale, QStringLiteral("N"), QStringLiteral("C%1").arg(i), QString::number(i));
    f.show(QStringLiteral("r1"), principale);

    f.list.setSelectAll(true);
    EXPECT_EQ(f.list.model()->tickedIndices(), (std::vector<int>{0, 1, 2}));
    f.list.setSelectAll(false);
    EXPECT_TRUE(f.list.model()->tickedIndices().empty());
}

TEST(ArchiveList, SeveralRequestsBeforeTheTickGiveOneReload)
{
    ListFixture f;
    f.node = {QStringLiteral("r1"), principale};
    f.list.allowReload();
    QSignalSpy reloaded(&f.list, &ArchiveList::reloaded);
    f.list.scheduleReload();
    f.list.scheduleReload();
    f.list.scheduleReload();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(reloaded.count(), 1);
}

TEST(ArchiveList, NothingLoadsBeforeTheFirstTreeClick)
{
    ListFixture f;
    f.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("1"));
    f.node = {QStringLiteral("r1"), principale};
    f.list.scheduleReload();
    f.runReload();
    EXPECT_EQ(f.list.model()->columnCount(), 0);
    EXPECT_EQ(f.list.rowCount(), 0);
}

TEST(ArchiveList, TheSelectedRowGivesItsValues)
{
    ListFixture f;
    f.home.addMessage(principale, QStringLiteral("salvati"), QStringLiteral("Rossi"), QStringLiteral("3331"),
                      QStringLiteral("01/01/2026 09:00:00"), QStringLiteral("Ciao"));
    f.show(QStringLiteral("s1"), principale);
    EXPECT_EQ(f.list.selection(), std::nullopt);
    f.list.selectRow(0);
    const auto s = f.list.selection();
    ASSERT_TRUE(s);
    EXPECT_EQ(QStringList({s->cellulare, s->cognome, s->testo, s->data}),
              QStringList({QStringLiteral("3331"), QStringLiteral("Rossi"), QStringLiteral("Ciao"),
                           QStringLiteral("01/01/2026 09:00:00")}));
    EXPECT_EQ(s->rowid, 1);
}

TEST(ArchiveList, DeleteKeyOnSentMessageRemovesItWithoutCopy)
{
    ListFixture f;
    f.home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral("Rossi"), QStringLiteral("3331"),
                      QStringLiteral("01/01/2026 09:00:00"), QStringLiteral("Ciao"));
    f.home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral("Bianchi"),
                      QStringLiteral("3332"), QStringLiteral("01/01/2026 09:00:00"), QStringLiteral("Salve"));
    f.show(QStringLiteral("i1"), principale);
    f.list.selectRow(1); // Rossi, after Bianchi
    f.home.dialogs.expectMessage(QStringLiteral("Si desidera Cancellare la voce 3331 ?"), MessageIcon::None,
                                 Answer::Yes);
    pressDelete(f.list);
    f.runReload();

    const QString book = f.home.state.folder.bookPath(principale);
    EXPECT_EQ(f.home.rows(book, QStringLiteral("inviati")),
              QStringList({QStringLiteral("Bianchi|3332|01/01/2026 09:00:00|Salve")}));
    EXPECT_TRUE(f.home.rows(book, QStringLiteral("cancellati")).isEmpty());
    EXPECT_EQ(f.column(1), QStringList({QStringLiteral("Bianchi")}));
}

TEST(ArchiveList, DeleteKeyOnContactStoredTwiceRemovesOneAndListsTheOther)
{
    ListFixture f;
    f.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"));
    f.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"));
    f.show(QStringLiteral("r1"), principale);
    f.list.selectRow(0);
    f.home.dialogs.expectMessage(QStringLiteral("Si desidera Cancellare la voce 3331 ?"), MessageIcon::None,
                                 Answer::Yes);
    pressDelete(f.list);
    f.runReload();
    EXPECT_EQ(f.home.rows(f.home.state.folder.bookPath(principale), QStringLiteral("rubrica")).size(), 1);
    EXPECT_EQ(f.list.rowCount(), 1);
}

TEST(ArchiveList, DeleteKeyAnsweredNoOrWithoutRowDeletesNothing)
{
    ListFixture f;
    f.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"));
    f.home.addContact(principale, QStringLiteral("Senza"), QStringLiteral("Numero"), QString());
    f.show(QStringLiteral("r1"), principale);
    // No row selected: no question, and the contact without a number stays.
    pressDelete(f.list);
    f.list.selectRow(1);
    f.home.dialogs.expectMessage(QStringLiteral("Si desidera Cancellare la voce 3331 ?"), MessageIcon::None,
                                 Answer::No);
    pressDelete(f.list);
    EXPECT_EQ(f.home.rows(f.home.state.folder.bookPath(principale), QStringLiteral("rubrica")).size(), 2);
}

TEST(ArchiveList, MissingBookIsReportedAndTheListStaysEmpty)
{
    ListFixture f;
    f.home.setBooks({principale, QStringLiteral("Sparita")});
    const QString path = f.home.state.folder.bookPath(QStringLiteral("Sparita"));
    ASSERT_TRUE(QFile::remove(path));
    f.home.dialogs.expectMessage(QStringLiteral("Impossibile aprire l'archivio \"%1\".").arg(path),
                                 MessageIcon::Critical);
    f.show(QStringLiteral("r2"), QStringLiteral("Sparita"));
    EXPECT_EQ(f.list.rowCount(), 0);
    EXPECT_EQ(headers(f.list).size(), 5);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ArchiveList, DoubleClickReportsContactsAndSavedMessagesOnly)
{
    for (const char* key : {"r1", "s1", "i1", "c1"}) {
        ListFixture f;
        f.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"),
                          QStringLiteral("3331"));
        for (const char* table : {"salvati", "inviati", "cancellati"})
            f.home.addMessage(principale, QString::fromLatin1(table), QStringLiteral("<lista>"),
                              QStringLiteral("3331;3332"), QStringLiteral("01/01/2026 09:00:00"),
                              QStringLiteral("Ciao"));
        f.show(QString::fromLatin1(key), principale);
        QSignalSpy doubleClicked(&f.list, &ArchiveList::rowDoubleClicked);
        f.list.selectRow(0);
        emit f.list.view()->doubleClicked(f.list.model()->index(0, 1));

        if (key[0] == 'r') {
            ASSERT_EQ(doubleClicked.count(), 1);
            EXPECT_EQ(doubleClicked[0][1].value<RowSelection>().cognome, QStringLiteral("Rossi"));
        } else if (key[0] == 's') {
            ASSERT_EQ(doubleClicked.count(), 1);
            EXPECT_EQ(doubleClicked[0][1].value<RowSelection>(),
                      (RowSelection{QStringLiteral("3331;3332"), QStringLiteral("<lista>"),
                                    QStringLiteral("Ciao"), QStringLiteral("01/01/2026 09:00:00"), 1}));
        } else {
            EXPECT_EQ(doubleClicked.count(), 0) << key;
        }
    }
}

TEST(ArchiveList, RightButtonReleaseReportsWhereItHappened)
{
    ListFixture f;
    QSignalSpy released(&f.list, &ArchiveList::rightButtonReleased);
    QWidget* area = f.list.view()->viewport();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(12, 34), area->mapToGlobal(QPointF(12, 34)),
                            button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(area, &release);
    }
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released[0][0].toPoint(), QPoint(12, 34));
}

TEST(ArchiveList, ReloadOfTheSameArchiveKeepsTicksOfRowsStillThere)
{
    ListFixture f;
    f.home.addContact(principale, QStringLiteral("A"), QStringLiteral("Alfa"), QStringLiteral("1"));
    f.home.addContact(principale, QStringLiteral("B"), QStringLiteral("Beta"), QStringLiteral("2"));
    f.show(QStringLiteral("r1"), principale);
    f.list.setTicked(1, true);
    f.home.addContact(principale, QStringLiteral("C"), QStringLiteral("Aaa"), QStringLiteral("3"));
    f.list.scheduleReload();
    f.runReload();
    ASSERT_EQ(f.list.rowCount(), 3);
    ASSERT_EQ(f.list.tickedRows().size(), 1u);
    EXPECT_EQ(f.list.tickedRows()[0].cognome, QStringLiteral("Beta"));

    // A tree click starts afresh.
    f.show(QStringLiteral("r1"), principale);
    EXPECT_TRUE(f.list.tickedRows().empty());
}

} // namespace
