#include "browser/actionspanel.h"
#include "browser/archivemodel.h"
#include "listfixture.h"
#include "store/statement.h"
#include "store/transaction.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::ListFixture;

namespace {

const QString principale = QStringLiteral("Principale");
const QString question = QStringLiteral("Si desidera Cancellare i contatti selezionati? ");

class ActionsPanelTest : public ::testing::Test
{
protected:
    ActionsPanel* openPanel(PanelHooks hooks = {})
    {
        panel = new ActionsPanel(f.home.context(), f.list, std::move(hooks));
        panel->show();
        return panel;
    }
    bool panelClosed()
    {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return panel.isNull();
    }
    QString book() const { return f.home.state.folder.bookPath(principale); }

    ListFixture f;
    QPointer<ActionsPanel> panel;
};

TEST_F(ActionsPanelTest, DeletesThreeTickedContactsAndReloadsOnce)
{
    for (const char* surname : {"Alfa", "Beta", "Gamma", "Delta"})
        f.home.addContact(principale, QStringLiteral("N"), QString::fromLatin1(surname),
                          QStringLiteral("33%1").arg(QString::fromLatin1(surname).size() * 7 + surname[0]));
    f.show(QStringLiteral("r1"), principale);
    // Shown order: Alfa, Beta, Delta, Gamma; keep Beta.
    for (int row : {0, 2, 3})
        f.list.setTicked(row, true);
    const QString kept = f.list.row(1).cells[0];

    openPanel();
    QSignalSpy reloaded(&f.list, &ArchiveList::reloaded);
    f.home.dialogs.expectMessage(question, MessageIcon::None, Answer::Yes);
    panel->cancellaSpuntati();
    f.runReload();
    QApplication::processEvents();

    EXPECT_EQ(f.home.rows(book(), QStringLiteral("rubrica")),
              QStringList({QStringLiteral("N|Beta|%1| |4").arg(kept)}));
    EXPECT_EQ(reloaded.count(), 1);
    EXPECT_EQ(f.column(2), QStringList({QStringLiteral("Beta")}));
    EXPECT_TRUE(panelClosed());
}

TEST_F(ActionsPanelTest, TickedSentMessagesMoveToDeletedWithTheSameFourValues)
{
    f.home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral("Rossi"), QStringLiteral("3331"),
                      QStringLiteral("01/01/2026 09:00:00"), QStringLiteral("uno"));
    f.home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral("Bianchi"),
                      QStringLiteral("3332"), QStringLiteral("01/01/2026 10:00:00"), QStringLiteral("due"));
    f.home.addMessage(principale, QStringLiteral("inviati"), QStringLiteral("Verdi"), QStringLiteral("3333"),
                      QStringLiteral("01/01/2026 11:00:00"), QStringLiteral("tre"));
    f.show(QStringLiteral("i1"), principale);
    f.list.setSelectAll(true);
    f.list.setTicked(1, false); // Rossi stays

    f.home.dialogs.expectMessage(question, MessageIcon::None, Answer::Yes);
    EXPECT_TRUE(ActionsPanel::deleteTicked(f.home.context(), f.list));
    f.runReload();

    EXPECT_EQ(f.home.rows(book(), QStringLiteral("inviati")),
              QStringList({QStringLiteral("Rossi|3331|01/01/2026 09:00:00|uno")}));
    EXPECT_EQ(f.home.rows(book(), QStringLiteral("cancellati")),
              QStringList({QStringLiteral("Bianchi|3332|01/01/2026 10:00:00|due"),
                           QStringLiteral("Verdi|3333|01/01/2026 11:00:00|tre")}));
    EXPECT_FALSE(f.list.selectAll());
}

// Rows that share a number (contacts) or a number and date (messages): the
// ticked row goes, by the Delete key on the highlighted row or by "Cancella
// Spuntati", and the copy in cancellati is that row.
TEST_F(ActionsPanelTest, ExactlyTheTickedOrHighlightedRowGoesWhenOthersShareItsNumber)
{
    struct Case
    {
        const char* key;
        const char* table;
        bool tickedCommand; // "Cancella Spuntati"; otherwise the Delete key
        QStringList kept;
        QStringList copied;
    };
    const QString date = QStringLiteral("01/01/2026 09:00:00");
    const Case cases[] = {
        {"r1", "rubrica", true, {QStringLiteral("Mario|Rossi|333| |4")}, {}},
        {"r1", "rubrica", false, {QStringLiteral("Mario|Rossi|333| |4")}, {}},
        {"i1",
         "inviati",
         true,
         {QStringLiteral("Rossi|333|%1|A").arg(date)},
         {QStringLiteral("Bianchi|333|%1|B").arg(date)}},
        {"i1", "inviati", false, {QStringLiteral("Rossi|333|%1|A").arg(date)}, {}},
        {"s1", "salvati", true, {QStringLiteral("Rossi|333|%1|A").arg(date)}, {}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(std::string(row.table) + (row.tickedCommand ? " ticked" : " highlighted"));
        const QString table = QString::fromLatin1(row.table);
        ListFixture g;
        if (table == u"rubrica") {
            g.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"),
                              QStringLiteral("333"));
            g.home.addContact(principale, QStringLiteral("Anna"), QStringLiteral("Bianchi"),
                              QStringLiteral("333"));
        } else {
            g.home.addMessage(principale, table, QStringLiteral("Rossi"), QStringLiteral("333"), date,
                              QStringLiteral("A"));
            g.home.addMessage(principale, table, QStringLiteral("Bianchi"), QStringLiteral("333"), date,
                              QStringLiteral("B"));
        }
        g.show(QString::fromLatin1(row.key), principale);
        ASSERT_EQ(g.list.rowCount(), 2);
        const int bianchi = g.column(table == u"rubrica" ? 2 : 1).indexOf(QStringLiteral("Bianchi"));
        if (row.tickedCommand) {
            g.list.setTicked(bianchi, true);
            g.home.dialogs.expectMessage(question, MessageIcon::None, Answer::Yes);
            ActionsPanel::deleteTicked(g.home.context(), g.list);
        } else {
            g.list.selectRow(bianchi);
            g.home.dialogs.expectMessage(QStringLiteral("Si desidera Cancellare la voce 333 ?"),
                                         MessageIcon::None, Answer::Yes);
            g.list.deleteSelected();
        }
        g.runReload();
        const QString path = g.home.state.folder.bookPath(principale);
        EXPECT_EQ(g.home.rows(path, table), row.kept);
        EXPECT_EQ(g.home.rows(path, QStringLiteral("cancellati")), row.copied);
    }
}

TEST_F(ActionsPanelTest, TickedSavedAndDeletedMessagesAreCopiedNowhere)
{
    for (const auto& [key, table] : {std::pair{"s1", "salvati"}, std::pair{"c1", "cancellati"}}) {
        f.home.addMessage(principale, QString::fromLatin1(table), QStringLiteral("Rossi"),
                          QStringLiteral("3331"), QStringLiteral("01/01/2026 09:00:00"),
                          QStringLiteral("uno"));
        f.show(QString::fromLatin1(key), principale);
        f.list.setTicked(0, true);
        f.home.dialogs.expectMessage(question, MessageIcon::None, Answer::Yes);
        ActionsPanel::deleteTicked(f.home.context(), f.list);
        f.runReload();
    }
    for (const char* table : {"salvati", "inviati", "cancellati"})
        EXPECT_TRUE(f.home.rows(book(), QString::fromLatin1(table)).isEmpty()) << table;
}

// Many ticked rows go in several batches while the list's pages are walked:
// every ticked row goes, the one left unticked stays.
TEST_F(ActionsPanelTest, DeletesATickedSetLargerThanABatch)
{
    {
        const auto db = f.home.state.store->open(book());
        Transaction writing(*db);
        Statement add(*db, "INSERT INTO rubrica (\"Nome\", cognome, cellulare, email, icona) "
                           "VALUES ('N', ?, ?, ' ', '4')");
        for (int i = 0; i < 1100; ++i) {
            add.bind(1, QStringLiteral("C%1").arg(i, 4, 10, QChar(u'0')));
            add.bind(2, QStringLiteral("33%1").arg(i));
            add.step();
        }
        writing.commit();
    }
    f.show(QStringLiteral("r1"), principale);
    ASSERT_EQ(f.list.rowCount(), 1100);
    f.list.setSelectAll(true);
    f.list.setTicked(700, false);
    EXPECT_EQ(f.list.tickedCount(), 1099);
    f.home.dialogs.expectMessage(question, MessageIcon::None, Answer::Yes);
    EXPECT_TRUE(ActionsPanel::deleteTicked(f.home.context(), f.list));
    f.runReload();
    EXPECT_EQ(f.home.rows(book(), QStringLiteral("rubrica")),
              QStringList{QStringLiteral("N|C0700|33700| |4")});
}

TEST_F(ActionsPanelTest, AnsweringNoLeavesTheStoreAndUnticksEverything)
{
    f.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"));
    f.home.addContact(principale, QStringLiteral("Anna"), QStringLiteral("Bianchi"), QStringLiteral("3332"));
    f.show(QStringLiteral("r1"), principale);
    f.list.setSelectAll(true);

    openPanel();
    f.home.dialogs.expectMessage(question, MessageIcon::None, Answer::No);
    panel->cancellaSpuntati();

    EXPECT_EQ(f.home.rows(book(), QStringLiteral("rubrica")).size(), 2);
    EXPECT_FALSE(f.list.selectAll());
    EXPECT_TRUE(f.list.model()->tickedIndices().empty());
    EXPECT_FALSE(f.list.reloadPending());
    EXPECT_FALSE(panelClosed());
    panel->close();
}

TEST_F(ActionsPanelTest, YesWithNothingTickedDeletesNothingButReloadsAndCloses)
{
    f.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"));
    f.show(QStringLiteral("r1"), principale);
    openPanel();
    f.home.dialogs.expectMessage(question, MessageIcon::None, Answer::Yes);
    panel->cancellaSpuntati();
    EXPECT_TRUE(f.list.reloadPending());
    EXPECT_EQ(f.home.rows(book(), QStringLiteral("rubrica")).size(), 1);
    EXPECT_TRUE(panelClosed());
}

TEST_F(ActionsPanelTest, PointerOverDeleteHighlightsItWhileOtherCommandsStayGreyForMessages)
{
    f.show(QStringLiteral("i1"), principale);
    openPanel({[](const RowSelection&) {}, [](const RowSelection&) {}, {}});
    const QPalette system = QApplication::palette();
    const QColor grey = system.color(QPalette::Disabled, QPalette::WindowText);
    panel->hover(panel->command(4));
    EXPECT_EQ(panel->command(4)->palette().color(QPalette::Window), system.color(QPalette::Highlight));
    EXPECT_EQ(panel->command(4)->palette().color(QPalette::WindowText), QColor(Qt::white));
    for (int n : {1, 2, 3})
        EXPECT_EQ(panel->command(n)->palette().color(QPalette::WindowText), grey) << n;
    // Pointing at a contact command changes nothing while messages are shown.
    panel->hover(panel->command(1));
    EXPECT_EQ(panel->command(1)->palette().color(QPalette::WindowText), grey);
    panel->close();
}

TEST_F(ActionsPanelTest, ContactCommandsHighlightAndHandOverWhenContactsAreShown)
{
    f.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"),
                      QStringLiteral("mario@example.it"));
    f.show(QStringLiteral("r1"), principale);
    f.list.selectRow(0);
    std::vector<RowSelection> edits;
    openPanel({{}, [&](const RowSelection& row) { edits.push_back(row); }, {}});
    const QPalette system = QApplication::palette();
    panel->hover(panel->command(1));
    EXPECT_EQ(panel->command(1)->palette().color(QPalette::Window), system.color(QPalette::Highlight));
    EXPECT_EQ(panel->command(4)->palette().color(QPalette::WindowText), system.color(QPalette::ButtonText));
    // Without a composer to open, "Invia SMS singolo" stays grey and does nothing.
    EXPECT_EQ(panel->command(2)->palette().color(QPalette::WindowText),
              system.color(QPalette::Disabled, QPalette::WindowText));
    panel->inviaSmsSingolo();
    EXPECT_FALSE(panelClosed());

    panel->modificaContatto();
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0], rowSelection(ArchiveKind::Contacts, f.list.row(0)));
    EXPECT_TRUE(panelClosed());
}

TEST_F(ActionsPanelTest, EmailOpensMailtoForTheSelectedContactOnly)
{
    f.home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"),
                      QStringLiteral("mario@example.it"));
    f.show(QStringLiteral("r1"), principale);
    f.list.selectRow(0);
    QList<QUrl> opened;
    bool mailProgram = true;
    const auto hooks = [&] {
        return PanelHooks{{}, {}, [&](const QUrl& url) {
                              opened << url;
                              return mailProgram;
                          }};
    };
    openPanel(hooks());
    panel->inviaEmail();
    EXPECT_EQ(opened, QList<QUrl>({QUrl(QStringLiteral("mailto:mario@example.it"))}));
    EXPECT_TRUE(panelClosed());

    // No mail program could be started: said, not silently dropped.
    mailProgram = false;
    f.list.selectRow(0);
    openPanel(hooks());
    f.home.dialogs.expectMessage(
        QStringLiteral(
            "Impossibile avviare un programma di posta elettronica per scrivere a mario@example.it."),
        MessageIcon::Exclamation);
    panel->inviaEmail();
    EXPECT_TRUE(f.home.dialogs.done());
    EXPECT_EQ(opened.size(), 2);
    EXPECT_TRUE(panelClosed());

    // A contact with no address is told so, and nothing is opened.
    f.home.addContact(principale, QStringLiteral("Anna"), QStringLiteral("Verdi"), QStringLiteral("3332"),
                      QStringLiteral(" "));
    f.show(QStringLiteral("r1"), principale);
    f.list.selectRow(1);
    openPanel(hooks());
    f.home.dialogs.expectMessage(QStringLiteral("Il contatto non ha un indirizzo di posta elettronica: "
                                                "aggiungerlo con \"Modifica Contatto\"."),
                                 MessageIcon::Exclamation);
    panel->inviaEmail();
    EXPECT_TRUE(f.home.dialogs.done() && opened.size() == 2 && panelClosed());

    f.home.addMessage(principale, QStringLiteral("salvati"), QStringLiteral("Rossi"), QStringLiteral("3331"),
                      QStringLiteral("01/02/2026 10:00:00"), QStringLiteral("testo"));
    f.show(QStringLiteral("s1"), principale);
    f.list.selectRow(0);
    openPanel(hooks());
    panel->inviaEmail();
    EXPECT_EQ(opened.size(), 2);
    panel->close();
}

TEST_F(ActionsPanelTest, ExcludeHandsOverTheTickedNumbersElseTheHighlightedOne)
{
    for (const char* surname : {"Alfa", "Beta", "Gamma"})
        f.home.addContact(principale, QStringLiteral("N"), QString::fromLatin1(surname),
                          QStringLiteral("333") + QString::fromLatin1(surname).left(1));
    f.show(QStringLiteral("r1"), principale);
    const struct
    {
        std::vector<int> ticked;
        int selected;
        QStringList numbers;
    } rows[] = {
        {{0, 2}, 1, {QStringLiteral("333A"), QStringLiteral("333G")}},
        {{}, 1, {QStringLiteral("333B")}},
        {{}, -1, {}},
    };
    for (const auto& row : rows) {
        for (int i = 0; i < 3; ++i)
            f.list.setTicked(i, std::find(row.ticked.begin(), row.ticked.end(), i) != row.ticked.end());
        f.list.selectRow(row.selected);
        std::optional<QStringList> handed;
        PanelHooks hooks;
        hooks.excludeFromSending = [&](const QStringList& numbers) { handed = numbers; };
        openPanel(std::move(hooks))->excludeFromSending();
        EXPECT_EQ(handed, row.numbers) << row.selected;
        EXPECT_TRUE(panelClosed());
    }
}

TEST_F(ActionsPanelTest, PanelOpensAtThePointerAndWhollyOnTheScreen)
{
    openPanel();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size = panel->frameGeometry().size();
    const QPoint farCorner(area.right() + 1 - size.width(), area.bottom() + 1 - size.height());
    const struct
    {
        QPoint pointer;
        QPoint corner;
    } cases[] = {
        {area.topLeft() + QPoint(30, 45), area.topLeft() + QPoint(30, 45)},
        {area.bottomRight(), farCorner},
        {QPoint(area.left() + 10, area.bottom() - 5), QPoint(area.left() + 10, farCorner.y())},
        {area.topLeft() - QPoint(40, 40), area.topLeft()},
    };
    for (const auto& c : cases) {
        panel->placeAt(c.pointer);
        EXPECT_EQ(panel->pos(), c.corner) << c.pointer.x() << "," << c.pointer.y();
        EXPECT_TRUE(area.contains(panel->geometry())) << c.pointer.x() << "," << c.pointer.y();
    }
    panel->close();
}

TEST_F(ActionsPanelTest, LosingTheFocusClosesThePanel)
{
    openPanel();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(panel, &deactivate);
    EXPECT_TRUE(panelClosed());
}

} // namespace
