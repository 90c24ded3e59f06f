#include "contacts/contactsearch.h"
#include "contacts/contactstore.h"
#include "contacts/prefixlist.h"
#include "store/database.h"
#include "store/storeerror.h"
#include "tests/support/testhome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

const QString principale = QStringLiteral("Principale");
const QString casa = QStringLiteral("Casa");

Contact contact(const char* nome, const char* cognome, const char* cellulare, const char* email = " ")
{
    return {QString::fromUtf8(nome), QString::fromUtf8(cognome), QString::fromUtf8(cellulare),
            QString::fromUtf8(email), QStringLiteral("4")};
}

QStringList contactRows(const TestHome& home, const QString& book)
{
    return home.rows(home.state.folder.bookPath(book), QStringLiteral("rubrica"));
}

QStringList numbersOf(const std::vector<Contact>& contacts)
{
    QStringList numbers;
    for (const Contact& c : contacts)
        numbers << c.cellulare;
    return numbers;
}

TEST(ContactStore, AddsFindsAndReplacesByNumber)
{
    TestHome home;
    home.setBooks({principale, casa});
    ContactStore store(home.state);
    ASSERT_EQ(store.add(casa, contact("Anna", "D'Angelo", "3331234467")), ContactStore::AddOutcome::Added);
    ASSERT_EQ(store.add(casa, contact(" ", "Rossi", "3471111111", "r@example.it")),
              ContactStore::AddOutcome::Added);
    EXPECT_EQ(contactRows(home, casa), QStringList({QStringLiteral("Anna|D'Angelo|3331234467| |4"),
                                                    QStringLiteral(" |Rossi|3471111111|r@example.it|4")}));

    EXPECT_EQ(store.find(casa, QStringLiteral("3331234467")), contact("Anna", "D'Angelo", "3331234467"));
    EXPECT_EQ(store.find(casa, QStringLiteral("333")), std::nullopt);

    EXPECT_TRUE(store.replace(casa, QStringLiteral("3471111111"), contact("Mario", "Rossi", "3209999999")));
    EXPECT_FALSE(store.replace(casa, QStringLiteral("3471111111"), contact("X", "Y", "1")));
    EXPECT_EQ(contactRows(home, casa), QStringList({QStringLiteral("Anna|D'Angelo|3331234467| |4"),
                                                    QStringLiteral("Mario|Rossi|3209999999| |4")}));
}

TEST(ContactStore, DuplicateTestIsExactAndPerBook)
{
    TestHome home;
    home.setBooks({principale, casa});
    ContactStore store(home.state);
    ASSERT_EQ(store.add(casa, contact("A", "Uno", "3331234467")), ContactStore::AddOutcome::Added);

    struct Case
    {
        const char* book;
        const char* number;
        ContactStore::AddOutcome outcome;
    };
    for (const Case& c : {
             Case{"Casa", "3331234467", ContactStore::AddOutcome::Duplicate},
             Case{"Casa", "333 1234467", ContactStore::AddOutcome::Added},
             Case{"Casa", "3331234467 ", ContactStore::AddOutcome::Added},
             Case{"Principale", "3331234467", ContactStore::AddOutcome::Added},
             Case{"Principale", "3331234467", ContactStore::AddOutcome::Duplicate},
         }) {
        EXPECT_EQ(store.add(QString::fromUtf8(c.book), contact("B", "Due", c.number)), c.outcome)
            << c.book << " " << c.number;
    }
    EXPECT_EQ(contactRows(home, casa).size(), 3);
    EXPECT_EQ(contactRows(home, principale).size(), 1);
}

TEST(ContactStore, AMissingBookIsAnErrorNotANewFile)
{
    TestHome home;
    EXPECT_THROW(ContactStore(home.state).add(casa, contact("A", "B", "1")), StoreError);
    EXPECT_FALSE(QFile::exists(home.state.folder.booksDir() + QStringLiteral("/Casa")));
}

TEST(PrefixList, ReadsAndWritesTheFileInOrder)
{
    TestHome home;
    QFile::remove(home.path(QStringLiteral("Prefissi.txt")));
    EXPECT_EQ(prefixes::read(home.state.folder), QStringList());

    home.writeFile(QStringLiteral("prefissi.txt"), {QStringLiteral("347"), QStringLiteral("333")});
    EXPECT_EQ(prefixes::read(home.state.folder), QStringList({QStringLiteral("347"), QStringLiteral("333")}));
    ASSERT_TRUE(prefixes::write(home.state.folder, {QStringLiteral("320"), QStringLiteral("347")}));
    QFile file(home.path(QStringLiteral("Prefissi.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("320\r\n347\r\n"));
    ASSERT_TRUE(prefixes::write(home.state.folder, {}));
    EXPECT_EQ(prefixes::read(home.state.folder), QStringList());
}

TEST(PrefixList, MovesAnEntryOnePlace)
{
    struct Case
    {
        bool up;
        int index;
        std::optional<int> moved;
        QStringList after;
    };
    const QStringList start{QStringLiteral("333"), QStringLiteral("347"), QStringLiteral("320")};
    const Case cases[] = {
        {true, 2, 1, {QStringLiteral("333"), QStringLiteral("320"), QStringLiteral("347")}},
        {true, 1, 0, {QStringLiteral("347"), QStringLiteral("333"), QStringLiteral("320")}},
        {true, 0, std::nullopt, start},
        {true, -1, std::nullopt, start},
        {false, 0, 1, {QStringLiteral("347"), QStringLiteral("333"), QStringLiteral("320")}},
        {false, 1, 2, {QStringLiteral("333"), QStringLiteral("320"), QStringLiteral("347")}},
        {false, 2, std::nullopt, start},
        {false, 3, std::nullopt, start},
    };
    for (const Case& c : cases) {
        QStringList lines = start;
        EXPECT_EQ(c.up ? prefixes::moveUp(lines, c.index) : prefixes::moveDown(lines, c.index), c.moved)
            << (c.up ? "up " : "down ") << c.index;
        EXPECT_EQ(lines, c.after) << (c.up ? "up " : "down ") << c.index;
    }
    // An empty line does not move.
    QStringList withBlank{QStringLiteral("333"), QString()};
    EXPECT_EQ(prefixes::moveUp(withBlank, 1), std::nullopt);
    EXPECT_EQ(withBlank, QStringList({QStringLiteral("333"), QString()}));
}

TEST(ContactSearch, TheLastFilledBoxDecides)
{
    struct Case
    {
        SearchBoxes boxes;
        std::optional<SearchCriterion> chosen;
    };
    const QString ro = QStringLiteral("Ro");
    const QString n = QStringLiteral("33");
    const Case cases[] = {
        {{}, std::nullopt},
        {{ro, {}, {}, {}}, SearchCriterion{QStringLiteral("cognome"), ro}},
        {{ro, n, {}, {}}, SearchCriterion{QStringLiteral("cellulare"), n}},
        {{ro, n, QStringLiteral("Anna"), {}},
         SearchCriterion{QStringLiteral("nome"), QStringLiteral("Anna")}},
        {{ro, {}, {}, QStringLiteral("a@")}, SearchCriterion{QStringLiteral("email"), QStringLiteral("a@")}},
        {{{}, n, {}, {}}, SearchCriterion{QStringLiteral("cellulare"), n}},
        {{QStringLiteral(" "), {}, {}, {}}, SearchCriterion{QStringLiteral("cognome"), QStringLiteral(" ")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(searchCriterion(c.boxes), c.chosen) << c.boxes.cognome.toStdString();
}

class ContactSearchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home.setBooks({principale, casa});
        home.addContact(casa, QStringLiteral("Anna"), QStringLiteral("Rossi"), QStringLiteral("3331"),
                        QStringLiteral("anna@example.it"));
        home.addContact(casa, QStringLiteral(" "), QStringLiteral("ROMANO"), QStringLiteral("3472"));
        home.addContact(casa, QStringLiteral("Rocco"), QStringLiteral("Ferro"), QStringLiteral("3203"),
                        QStringLiteral("ro@example.it"));
        home.addContact(casa, QStringLiteral("Bruno"), QStringLiteral("rossetti"), QStringLiteral("3334"));
        home.addContact(casa, QStringLiteral("Ugo"), QStringLiteral("D'Angelo"), QStringLiteral("3475"));
        home.addContact(principale, QStringLiteral("Altro"), QStringLiteral("Rossi"), QStringLiteral("3999"));
    }

    QStringList find(SearchBoxes boxes) { return numbersOf(ContactSearch(home.state).find(casa, boxes)); }

    TestHome home;
};

TEST_F(ContactSearchTest, FindsValuesBeginningWithTheTextInAnyCase)
{
    // In reading order: ROMANO, rossetti, Rossi.
    EXPECT_EQ(find({QStringLiteral("Ro"), {}, {}, {}}),
              QStringList({QStringLiteral("3472"), QStringLiteral("3334"), QStringLiteral("3331")}));
    EXPECT_EQ(find({QStringLiteral("rO"), {}, {}, {}}),
              QStringList({QStringLiteral("3472"), QStringLiteral("3334"), QStringLiteral("3331")}));
    EXPECT_EQ(find({QStringLiteral("erro"), {}, {}, {}}), QStringList()); // only inside "Ferro"
    EXPECT_EQ(find({{}, QStringLiteral("347"), {}, {}}),
              QStringList({QStringLiteral("3472"), QStringLiteral("3475")}));
    EXPECT_EQ(find({{}, {}, QStringLiteral("ro"), {}}), QStringList{QStringLiteral("3203")});
    EXPECT_EQ(find({{}, {}, {}, QStringLiteral("ANNA@")}), QStringList{QStringLiteral("3331")});
    EXPECT_EQ(find({QStringLiteral("d'a"), {}, {}, {}}), QStringList{QStringLiteral("3475")});
    EXPECT_EQ(find({QStringLiteral("Ro%"), {}, {}, {}}), QStringList());
}

TEST_F(ContactSearchTest, IgnoresCaseOfEveryLetterNotOnlyAscii)
{
    home.addContact(casa, QStringLiteral("Ètienne"), QStringLiteral("Èrcole"), QStringLiteral("3501"));
    home.addContact(casa, QStringLiteral("àlvaro"), QStringLiteral("ÀLVARO"), QStringLiteral("3502"),
                    QStringLiteral("ÉLODIE@example.it"));
    home.addContact(casa, QStringLiteral("Ørjan"), QStringLiteral("STRASSER"), QStringLiteral("3503"));
    home.addContact(casa, QStringLiteral("Öykü"), QStringLiteral("Ñandú Ëlëna Ìò"), QStringLiteral("3504"));
    const struct
    {
        SearchBoxes boxes;
        QStringList numbers;
    } cases[] = {
        {{QStringLiteral("è"), {}, {}, {}}, {QStringLiteral("3501")}},
        {{QStringLiteral("èRC"), {}, {}, {}}, {QStringLiteral("3501")}},
        {{QStringLiteral("à"), {}, {}, {}}, {QStringLiteral("3502")}},
        {{QStringLiteral("Àlv"), {}, {}, {}}, {QStringLiteral("3502")}},
        {{QStringLiteral("àx"), {}, {}, {}}, {}},
        {{{}, {}, QStringLiteral("ÈT"), {}}, {QStringLiteral("3501")}},
        {{{}, {}, QStringLiteral("ÀLVARO"), {}}, {QStringLiteral("3502")}},
        {{{}, {}, QStringLiteral("ø"), {}}, {QStringLiteral("3503")}},
        {{{}, {}, {}, QStringLiteral("élodie@")}, {QStringLiteral("3502")}},
        {{QStringLiteral("straß"), {}, {}, {}}, {QStringLiteral("3503")}},
        // Many letters with two cases: the index narrows on the leading ones, the rest is checked.
        {{QStringLiteral("ñANDÚ ëLËNA ÌÒ"), {}, {}, {}}, {QStringLiteral("3504")}},
        {{QStringLiteral("ñANDÚ ëLËNA ÌÓ"), {}, {}, {}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.boxes.cognome + c.boxes.nome + c.boxes.email).toStdString());
        EXPECT_EQ(find(c.boxes), c.numbers);
    }
}

TEST_F(ContactSearchTest, ReturnsWholeRowsAndRunsNothingForEmptyBoxes)
{
    const auto found = ContactSearch(home.state).find(casa, SearchBoxes{{}, QStringLiteral("3472"), {}, {}});
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0], contact(" ", "ROMANO", "3472"));

    home.state.releaseStore();
    home.state.percorsodb = QStringLiteral("untouched");
    EXPECT_TRUE(ContactSearch(home.state).find(casa, SearchBoxes{}).empty());
    EXPECT_EQ(home.state.percorsodb, QStringLiteral("untouched"));
    EXPECT_EQ(home.state.dbcorrente, nullptr);
}

// The statement a search leaves on the shared connection must have been
// answered from an index, never by scanning the table.
TEST_F(ContactSearchTest, EverySearchFieldIsServedByAnIndex)
{
    for (int i = 0; i < 500; ++i) {
        home.addContact(casa, QStringLiteral("Nome%1").arg(i), QStringLiteral("Cognome%1").arg(i),
                        QStringLiteral("39%1").arg(i), QStringLiteral("c%1@example.it").arg(i));
    }
    home.addContact(casa, QStringLiteral("Òscar"), QStringLiteral("Òrsòla"), QStringLiteral("3601"));
    for (const SearchBoxes& boxes :
         {SearchBoxes{QStringLiteral("Ro"), {}, {}, {}}, SearchBoxes{QStringLiteral("òrSÒ"), {}, {}, {}},
          SearchBoxes{{}, QStringLiteral("333"), {}, {}}, SearchBoxes{{}, {}, QStringLiteral("An"), {}},
          SearchBoxes{{}, {}, {}, QStringLiteral("ro@")}}) {
        const auto found = ContactSearch(home.state).find(casa, boxes);
        EXPECT_FALSE(found.empty());
        ASSERT_NE(home.state.dbcorrente, nullptr);
        sqlite3* db = home.state.dbcorrente->handle();
        int searches = 0;
        for (sqlite3_stmt* st = sqlite3_next_stmt(db, nullptr); st; st = sqlite3_next_stmt(db, st)) {
            const QString sql = QString::fromUtf8(sqlite3_sql(st));
            if (!sql.contains(QStringLiteral("LIKE")))
                continue;
            ++searches;
            EXPECT_EQ(sqlite3_stmt_status(st, SQLITE_STMTSTATUS_FULLSCAN_STEP, 0), 0) << sql.toStdString();
        }
        EXPECT_EQ(searches, 1);
    }
}

} // namespace
