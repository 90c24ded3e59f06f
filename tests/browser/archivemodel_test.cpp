// The list's model over each store: the order the store sorts by, the pages
// read whichever way the view moves, ticks kept by key and as a rule, the
// deletion of the ticked rows.
#include "browser/archivemodel.h"
#include "contacts/archivedeletion.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "store/database.h"
#include "store/statement.h"
#include "tests/store/storehome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using namespace parlix;
using test::Backend;

namespace {

class ArchiveModelTest : public ::testing::TestWithParam<Backend>
{
protected:
    ArchiveModelTest()
    {
        if (GetParam() == Backend::Postgres)
            textfile::writeLines(home.path(QStringLiteral("archivio")), {home.address});
        state = std::make_unique<ProgramState>(DataFolder(home.dir.path()));
        db = state->store->open(state->folder.bookPath(QStringLiteral("Principale")));
    }

    // Contacts numbered 0, 1, 2... in the order they are added.
    void add(const std::vector<QString>& surnames)
    {
        Statement insert(*db, "INSERT INTO rubrica (\"Nome\", cognome, cellulare) VALUES ('N', ?, ?)");
        db->begin();
        for (const QString& surname : surnames) {
            insert.bind(1, surname);
            insert.bind(2, QString::number(added++));
            insert.step();
            insert.reset();
        }
        db->commit();
    }

    void show(ArchiveOrder order = {2, false}, bool keepTicks = false)
    {
        model.show(std::make_unique<ArchivePages>(db, ArchiveKind::Contacts, order), keepTicks);
    }

    QStringList numbers(const std::vector<int>& positions) const
    {
        QStringList shown;
        for (const int i : positions)
            shown << model.row(i).cells[0];
        return shown;
    }

    QStringList ticked() const
    {
        QStringList found;
        model.forEachTicked([&](const ArchiveRow& row) {
            found << row.cells[0];
            return true;
        });
        return found;
    }

    std::vector<int> all() const
    {
        std::vector<int> positions(size_t(model.rowCount()));
        std::iota(positions.begin(), positions.end(), 0);
        return positions;
    }

    test::StoreHome home{GetParam()};
    std::unique_ptr<ProgramState> state;
    std::shared_ptr<Database> db;
    ArchiveModel model;
    int added = 0;
};

TEST_P(ArchiveModelTest, RowsComeInTheStoresOrderCaseIgnoredNewestFirstAmongEquals)
{
    add({QStringLiteral("Rossi"), QStringLiteral("bianchi"), QString(), QStringLiteral("Bianchi"),
         QStringLiteral("Verdi"), QStringLiteral("rossi"), QStringLiteral("10")});
    const struct
    {
        ArchiveOrder order;
        const char* numbers;
    } cases[] = {
        {{2, false}, "2 6 3 1 5 0 4"},
        {{2, true}, "4 0 5 1 3 6 2"},
        {{0, false}, "0 1 2 3 4 5 6"},
        {{0, true}, "6 5 4 3 2 1 0"},
    };
    for (const auto& c : cases) {
        show(c.order);
        EXPECT_EQ(numbers(all()).join(u' '), QLatin1String(c.numbers)) << c.order.cell << c.order.descending;
    }
}

// Equal surnames across the page boundaries: the rows read after a page, before
// one, or by skipping from the start are the same rows in the same places.
TEST_P(ArchiveModelTest, EveryWayOfReadingAPageGivesTheSameRows)
{
    const int count = 3 * ArchivePages::pageRows - 30;
    std::vector<QString> surnames;
    for (int i = 0; i < count; ++i)
        surnames.push_back(QStringLiteral("S%1").arg(i % 7));
    add(surnames);
    std::vector<int> expected(static_cast<size_t>(count));
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [](int a, int b) { return a % 7 != b % 7 ? a % 7 < b % 7 : a > b; });
    std::vector<int> backward = [&] {
        std::vector<int> p(static_cast<size_t>(count));
        std::iota(p.rbegin(), p.rend(), 0);
        return p;
    }();
    const int page = ArchivePages::pageRows;
    const std::vector<std::vector<int>> paths{
        [&] {
            std::vector<int> p(static_cast<size_t>(count));
            std::iota(p.begin(), p.end(), 0);
            return p;
        }(),
        backward,
        {2 * page + 5, page, page - 1, 0, 2 * page - 1, 2 * page, count - 1},
    };
    for (const std::vector<int>& path : paths) {
        show();
        ASSERT_EQ(model.rowCount(), count);
        QStringList wanted;
        for (const int i : path)
            wanted << QString::number(expected[size_t(i)]);
        EXPECT_EQ(numbers(path), wanted) << "path starting at " << path.front();
    }
}

TEST_P(ArchiveModelTest, TicksFollowTheirRowsAsKeysOrAsARuleOverAllRows)
{
    add({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    const struct
    {
        bool all;
        std::vector<int> toggled; // positions ticked (or unticked, after a tick-all)
        const char* ticked;
    } cases[] = {
        {false, {}, ""},
        {false, {3, 1}, "1 3"},
        {true, {}, "0 1 2 3"},
        {true, {0, 2}, "1 3"},
    };
    for (const auto& c : cases) {
        show();
        model.setAllTicked(c.all);
        for (const int i : c.toggled)
            model.setTicked(i, !c.all);
        EXPECT_EQ(ticked().join(u' '), QLatin1String(c.ticked));
        // Another seat edits every e-mail and adds a row before them; read again, the ticks stay put.
        Statement edit(*db, "UPDATE rubrica SET email = 'nuova@example.it'");
        while (edit.step()) {
        }
        add({QStringLiteral("0")});
        show({2, false}, true);
        QStringList shown;
        for (int i = 1; i < model.rowCount(); ++i) {
            if (model.isTicked(i))
                shown << model.row(i).cells[0];
        }
        EXPECT_EQ(shown.join(u' '), QLatin1String(c.ticked));
        Statement drop(*db, "DELETE FROM rubrica WHERE cognome = '0'");
        while (drop.step()) {
        }
    }
}

// Ticks name the rows there were: a row added afterwards comes unticked, even
// under a tick-all, and even where SQLite gives it the key of a deleted
// newest row that was ticked.
TEST_P(ArchiveModelTest, ARowAddedAfterTheTicksComesUnticked)
{
    const struct
    {
        bool all;
        bool deleteNewest;
        const char* ticked; // numbers, after "C" (number 2) is added
    } cases[] = {
        {false, true, ""},
        {true, true, "0"},
        {true, false, "1 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.all ? "tick-all" : "newest ticked") + (c.deleteNewest ? ", deleted" : ""));
        Statement clear(*db, "DELETE FROM rubrica");
        while (clear.step()) {
        }
        added = 0;
        add({QStringLiteral("A"), QStringLiteral("B")});
        show({2, true});
        if (c.all)
            model.setAllTicked(true);
        else
            model.setTicked(0, true);
        if (c.deleteNewest) {
            Statement drop(*db, "DELETE FROM rubrica WHERE cognome = 'B'");
            while (drop.step()) {
            }
            show({2, true}, true);
        }
        add({QStringLiteral("C")});
        show({2, true}, true);
        EXPECT_EQ(ticked().join(u' '), QLatin1String(c.ticked));
    }
}

TEST_P(ArchiveModelTest, DeletingTheTickedRowsLeavesTheOthers)
{
    const struct
    {
        bool all;
        std::vector<int> toggled;
        const char* left;
    } cases[] = {
        {false, {1, 2}, "0 3"},
        {true, {2}, "2"},
        {false, {}, "0 1 2 3"},
    };
    for (const auto& c : cases) {
        Statement clear(*db, "DELETE FROM rubrica");
        while (clear.step()) {
        }
        added = 0;
        add({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
        show();
        model.setAllTicked(c.all);
        for (const int i : c.toggled)
            model.setTicked(i, !c.all);
        std::vector<RowSelection> rows;
        model.forEachTicked([&](const ArchiveRow& row) {
            rows.push_back(rowSelection(ArchiveKind::Contacts, row));
            return true;
        });
        ArchiveDeletion(*state, ArchiveKind::Contacts, QStringLiteral("Principale")).deleteTickedRows(rows);
        show();
        EXPECT_EQ(numbers(all()).join(u' '), QLatin1String(c.left));
    }
}

TEST_P(ArchiveModelTest, ARowIsFoundWhereTheNewOrderPutsIt)
{
    std::vector<QString> surnames;
    for (int i = 0; i < 600; ++i)
        surnames.push_back(QStringLiteral("M%1").arg(i, 3, 10, QChar(u'0')));
    add(surnames);
    show();
    const long long key = model.row(400).rowid;
    add({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Z")});
    show({2, false}, true);
    EXPECT_EQ(model.find(key), 402);
    show({2, true}, true);
    EXPECT_EQ(model.find(key), 1 + 199);
}

INSTANTIATE_TEST_SUITE_P(Stores, ArchiveModelTest, ::testing::Values(Backend::Files, Backend::Postgres),
                         [](const auto& info) { return test::backendName(info.param); });

} // namespace
