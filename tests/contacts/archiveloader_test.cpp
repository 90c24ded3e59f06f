#include "contacts/archiveloader.h"
#include "contacts/archiverow.h"
#include "contacts/readingorder.h"
#include "core/programstate.h"
#include "store/recordset.h"
#include "store/storeerror.h"
#include "tests/support/testhome.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

const QString casa = QStringLiteral("Casa");

// Rows with their texts and the rowids of the stored rows they show.
std::vector<ArchiveRow> rows(std::initializer_list<std::array<const char*, 4>> cells,
                             std::initializer_list<long long> rowids)
{
    std::vector<ArchiveRow> result;
    auto rowid = rowids.begin();
    for (const auto& row : cells) {
        ArchiveRow r;
        for (size_t i = 0; i < 4; ++i)
            r.cells[i] = QString::fromUtf8(row[i]);
        r.rowid = *rowid++;
        result.push_back(r);
    }
    return result;
}

TEST(ArchiveLoader, ContactsComeSortedBySurnameIgnoringCaseLatestFirstAmongEquals)
{
    TestHome home;
    home.setBooks({QStringLiteral("Principale"), casa});
    home.addContact(casa, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"));
    home.addContact(casa, QStringLiteral("Anna"), QStringLiteral("bianchi"), QStringLiteral("3332"), {});
    home.addContact(casa, QStringLiteral("Luca"), QStringLiteral("Verdi"), QStringLiteral("3333"),
                    QStringLiteral("luca@example.it"));
    home.addContact(casa, QStringLiteral("Bruno"), QStringLiteral("Bianchi"), QStringLiteral("3334"));

    const auto loaded = loadArchive(home.state, ArchiveKind::Contacts, casa);

    EXPECT_EQ(loaded, rows({{"3334", "Bruno", "Bianchi", " "},
                            {"3332", "Anna", "bianchi", ""},
                            {"3331", "Mario", "Rossi", " "},
                            {"3333", "Luca", "Verdi", "luca@example.it"}},
                           {4, 2, 1, 3}));
    // The shared handles are left on the book.
    EXPECT_EQ(home.state.percorsodb, home.state.folder.bookPath(casa));
    ASSERT_TRUE(home.state.rscorrente);
    EXPECT_EQ(home.state.rscorrente->table(), QStringLiteral("rubrica"));
}

TEST(ArchiveLoader, EachMessageArchiveIsSortedBySurnameNotByDate)
{
    for (const auto& [kind, table] :
         {std::pair{ArchiveKind::Saved, "salvati"}, std::pair{ArchiveKind::Sent, "inviati"},
          std::pair{ArchiveKind::Deleted, "cancellati"}}) {
        TestHome home;
        const QString t = QString::fromLatin1(table);
        home.addMessage(QStringLiteral("Principale"), t, QStringLiteral("Zeta"), QStringLiteral("1"),
                        QStringLiteral("01/01/2026 10:00:00"), QStringLiteral("primo"));
        home.addMessage(QStringLiteral("Principale"), t, QStringLiteral("Alfa"), QStringLiteral("2"),
                        QStringLiteral("02/01/2026 10:00:00"), QStringLiteral("secondo"));
        home.addMessage(QStringLiteral("Principale"), t, QStringLiteral("<lista>"), QStringLiteral("3;4"),
                        QStringLiteral("03/01/2026 10:00:00"), QStringLiteral("terzo"));

        EXPECT_EQ(loadArchive(home.state, kind, QStringLiteral("Principale")),
                  rows({{"3;4", "<lista>", "03/01/2026 10:00:00", "terzo"},
                        {"2", "Alfa", "02/01/2026 10:00:00", "secondo"},
                        {"1", "Zeta", "01/01/2026 10:00:00", "primo"}},
                       {3, 2, 1}))
            << table;
    }
}

TEST(ArchiveLoader, EmptyArchiveGivesNoRows)
{
    TestHome home;
    EXPECT_TRUE(loadArchive(home.state, ArchiveKind::Sent, QStringLiteral("Principale")).empty());
}

TEST(ArchiveLoader, UnreadableBooksAreReportedAndLeftAlone)
{
    TestHome home;
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Assente"), QStringLiteral("Rotta")});
    ASSERT_TRUE(QFile::remove(home.state.folder.bookPath(QStringLiteral("Assente"))));
    const QString broken = home.state.folder.bookPath(QStringLiteral("Rotta"));
    ASSERT_TRUE(QFile::remove(broken));
    home.writeFile(QStringLiteral("rubriche/Rotta"), {QStringLiteral("non sono un archivio")});
    const QByteArray brokenBytes = [&] {
        QFile f(broken);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    struct Case
    {
        QString book;
        StoreError::Code code;
    };
    for (const Case& c : {Case{QStringLiteral("Assente"), StoreError::Code::CannotOpen},
                          Case{QStringLiteral("Rotta"), StoreError::Code::NotADatabase},
                          Case{QStringLiteral("../elenco.mdb"), StoreError::Code::CannotOpen},
                          Case{QStringLiteral(".."), StoreError::Code::CannotOpen}}) {
        try {
            loadArchive(home.state, ArchiveKind::Contacts, c.book);
            ADD_FAILURE() << "no error for " << c.book.toStdString();
        } catch (const StoreError& error) {
            EXPECT_EQ(error.code(), c.code) << c.book.toStdString();
            EXPECT_FALSE(error.message().isEmpty());
        }
    }
    EXPECT_FALSE(QFile::exists(home.state.folder.bookPath(QStringLiteral("Assente"))));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), brokenBytes);
}

TEST(RowSelection, ClickValuesDependOnTheKind)
{
    ArchiveRow contact{{QStringLiteral("3331"), QStringLiteral("Mario"), QStringLiteral("Rossi"),
                        QStringLiteral("m@example.it")}};
    ArchiveRow message{{QStringLiteral("3332"), QStringLiteral("Bianchi"),
                        QStringLiteral("01/02/2026 08:00:00"), QStringLiteral("Ciao")}};
    EXPECT_EQ(
        rowSelection(ArchiveKind::Contacts, contact),
        (RowSelection{QStringLiteral("3331"), QStringLiteral("Rossi"), QStringLiteral("m@example.it"), {}}));
    for (ArchiveKind kind : {ArchiveKind::Saved, ArchiveKind::Sent, ArchiveKind::Deleted})
        EXPECT_EQ(rowSelection(kind, message),
                  (RowSelection{QStringLiteral("3332"), QStringLiteral("Bianchi"), QStringLiteral("Ciao"),
                                QStringLiteral("01/02/2026 08:00:00")}));

    TestHome home;
    home.state.datasel = QStringLiteral("prima");
    applySelection(home.state, ArchiveKind::Contacts, contact);
    EXPECT_EQ(QStringList(
                  {home.state.cellularesel, home.state.cognomesel, home.state.testosel, home.state.datasel}),
              QStringList({QStringLiteral("3331"), QStringLiteral("Rossi"), QStringLiteral("m@example.it"),
                           QStringLiteral("prima")}));
    applySelection(home.state, ArchiveKind::Sent, message);
    EXPECT_EQ(QStringList(
                  {home.state.cellularesel, home.state.cognomesel, home.state.testosel, home.state.datasel}),
              QStringList({QStringLiteral("3332"), QStringLiteral("Bianchi"), QStringLiteral("Ciao"),
                           QStringLiteral("01/02/2026 08:00:00")}));
}

} // namespace

TEST(ReadingOrder, AccentsBesideTheirLetterCaseIgnoredNumbersByValue)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Èrcole Verdi Àlberti Zeta ercole 10 9", "9 10 Àlberti ercole Èrcole Verdi Zeta"},
        {"zeta Alberti ZETA alberti", "Alberti alberti zeta ZETA"},
        {"3331234567 333 20 100", "20 100 333 3331234567"},
    };
    for (const auto& [given, expected] : cases) {
        const QStringList texts = QString::fromUtf8(given).split(u' ');
        QStringList sorted;
        for (const size_t i :
             ReadingOrder(QLocale(QLocale::Italian)).order(size_t(texts.size()), [&](size_t i) {
                 return texts.at(qsizetype(i));
             }))
            sorted << texts.at(qsizetype(i));
        EXPECT_EQ(sorted.join(u' '), QString::fromUtf8(expected));
    }
    EXPECT_TRUE(ReadingOrder(QLocale::c()).less(QStringLiteral("Èrcole"), QStringLiteral("Verdi")));
}
