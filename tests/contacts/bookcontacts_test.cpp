// The contact readers used by sending, on either store.
#include "contacts/archivedeletion.h"
#include "contacts/bookcatalog.h"
#include "contacts/bookcontacts.h"
#include "contacts/contactstore.h"
#include "core/programstate.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <thread>

using namespace parlix;
using test::Backend;

namespace {

class BookContactsTest : public ::testing::TestWithParam<Backend>
{
protected:
    test::TestHome home{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(BothStores, BookContactsTest, ::testing::Values(Backend::Files, Backend::Postgres),
                         [](const auto& info) { return test::backendName(info.param); });

// Contacts without a number (nothing, or only spaces) are left out; the rest
// come in stored order, with every field.
TEST_P(BookContactsTest, ContactsWithANumberInStoredOrder)
{
    const struct
    {
        const char* cognome;
        const char* cellulare;
        bool kept;
    } rows[] = {
        {"Rossi", "3331", true}, {"Vuoto", "", false},        {"Spazi", "   ", false},
        {"Tab", "\t", true},     {"Bianchi", " 3332 ", true}, {"D'Amico", "3331", true},
    };
    QList<Contact> expected;
    for (const auto& row : rows) {
        const Contact contact{QStringLiteral("N"), QString::fromUtf8(row.cognome),
                              QString::fromUtf8(row.cellulare), QStringLiteral(" "), QStringLiteral("4")};
        home.addContact(QStringLiteral("Principale"), contact.nome, contact.cognome, contact.cellulare,
                        contact.email);
        if (row.kept)
            expected << contact;
    }
    const QString book = home.state.folder.bookPath(QStringLiteral("Principale"));
    EXPECT_EQ(contactsWithNumbers(*home.seat(), book), expected);
    EXPECT_THROW(contactsWithNumbers(*home.seat(), home.state.folder.bookPath(QStringLiteral("Casa"))),
                 StoreError);
}

// A "%N" in a book name is text, never a placeholder of the statement built
// around it: each book's edit and deletion stay in that book.
TEST_P(BookContactsTest, NamesWithPlaceholdersQuotesAndSemicolonsAreEditedAndDeletedInTheirOwnBook)
{
    const QStringList books{QStringLiteral("Clienti%3"), QStringLiteral("Clienti1"),
                            QStringLiteral("Rubrica%2"), QStringLiteral("Rubrica2"),
                            QStringLiteral("%1%2"),      QStringLiteral("D'Angelo \"x\"; y")};
    for (const QString& book : books) {
        ASSERT_EQ(BookCatalog(home.state).create(book), BookCatalog::Outcome::Done) << book.toStdString();
        for (const char* number : {"3331", "3332"})
            home.addContact(book, QStringLiteral("N"), QStringLiteral("C"), QString::fromLatin1(number));
    }
    for (const QString& book : books) {
        ContactStore(home.state)
            .replace(book, 1,
                     {QStringLiteral("N"), book, QStringLiteral("3331"), QStringLiteral(" "),
                      QStringLiteral("4")});
        EXPECT_TRUE(ArchiveDeletion(home.state, ArchiveKind::Contacts, book)
                        .deleteRow({QStringLiteral("3332"), {}, {}, {}, 2}))
            << book.toStdString();
    }
    for (const QString& book : books)
        EXPECT_EQ(home.rows(home.state.folder.bookPath(book), QStringLiteral("rubrica")),
                  QStringList{QStringLiteral("N|%1|3331| |4").arg(book)})
            << book.toStdString();
}

TEST_P(BookContactsTest, BookNamesInTreeOrder)
{
    ASSERT_EQ(BookCatalog(home.state).create(QStringLiteral("Casa")), BookCatalog::Outcome::Done);
    ASSERT_EQ(BookCatalog(home.state).create(QStringLiteral("L'ufficio")), BookCatalog::Outcome::Done);
    EXPECT_EQ(
        bookNames(*home.seat(), home.state.folder.bookList()),
        (QStringList{QStringLiteral("Principale"), QStringLiteral("Casa"), QStringLiteral("L'ufficio")}));
}

} // namespace

// Two programs adding the same number at the same moment: the check for a
// duplicate and the insert go together, so the number is stored once.
TEST_P(BookContactsTest, TwoProgramsAddingTheSameNumberAtOnceStoreItOnce)
{
    constexpr int numbers = 25;
    const QString book = QStringLiteral("Principale");
    std::barrier together(2);
    std::atomic<int> added{0};
    std::atomic<int> failures{0};
    const auto program = [&] {
        ProgramState state(home.state.folder);
        for (int i = 0; i < numbers; ++i) {
            together.arrive_and_wait();
            try {
                const Contact contact{QStringLiteral("N"), QStringLiteral("C"),
                                      QStringLiteral("3331%1").arg(i), QStringLiteral(" "),
                                      QStringLiteral("4")};
                if (ContactStore(state).add(book, contact) == ContactStore::AddOutcome::Added)
                    ++added;
            } catch (const StoreError&) {
                ++failures;
            }
        }
    };
    std::thread first(program);
    std::thread second(program);
    first.join();
    second.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(added.load(), numbers);
    EXPECT_EQ(contactsWithNumbers(*home.seat(), home.state.folder.bookPath(book)).size(), numbers);
}
