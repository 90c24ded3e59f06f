#include "core/programstate.h"
#include "tests/support/testhome.h"
#include "transfer/codepage.h"
#include "transfer/dbftable.h"
#include "transfer/ericsoftimport.h"
#include "transfer/ericsoftregister.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace parlix;

namespace {

QString data(const char* name)
{
    return QStringLiteral(PARLIX_TEST_DATA_DIR "/ericsoft/") + QString::fromUtf8(name);
}

EricsoftCustomer customer(const char* mercato, const char* cognome, const char* nome, const char* posta,
                          const char* telefono)
{
    return {QString::fromUtf8(mercato), QString::fromUtf8(cognome), QString::fromUtf8(nome),
            QString::fromUtf8(posta), QString::fromUtf8(telefono)};
}

QStringList bookRows(test::TestHome& home, const char* book)
{
    return home.rows(home.state.folder.bookPath(QString::fromUtf8(book)), QStringLiteral("rubrica"));
}

QStringList lines(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

} // namespace

TEST(EricsoftRules, CustomerBecomesContact)
{
    const struct
    {
        EricsoftCustomer customer;
        Contact contact;
        const char* book;
    } rows[] = {
        {customer("7", "Rossi", "Mario", "m@r.it", "+39 333/123.4567"),
         {QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("393331234567"),
          QStringLiteral("m@r.it"), QStringLiteral("4")},
         "Mercato-7"},
        {customer("", "", "", "", "tel. n/d"),
         {QStringLiteral(" "), QStringLiteral(" "), QString(), QStringLiteral(" "), QStringLiteral("4")},
         "Principale"},
        {customer("12", "A", "B", "", "0039-340 12a34"),
         {QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("00393401234"), QStringLiteral(" "),
          QStringLiteral("4")},
         "Mercato-12"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ericsoft::contactOf(row.customer), row.contact);
        EXPECT_EQ(ericsoft::targetBook(row.customer.mercato), QString::fromUtf8(row.book));
    }
    EXPECT_EQ(ericsoft::marketBook(QString()), QStringLiteral("Mercato-"));
}

TEST(EricsoftRegister, ReadsTablesWrittenByAnotherTool)
{
    const struct
    {
        const char* folder;
        std::vector<EricsoftCustomer> customers;
    } rows[] = {
        {"vfp",
         {customer("7", "Rossi", "Mario", "mario@rossi.it", "+39 333/123.4567"),
          customer("", "Bianchi", "", "", "347 111 2222"), customer("7", "Verdi", "Anna", "", "tel. n/d"),
          customer("12", "Niccolò", "Perù", "", ""), customer("7", "Rossi bis", "", "", "393331234567"),
          customer("3", "Già", "Presente", "", "333-444-5555"),
          customer("3", "Più", "Zoë", "città@€uro.it", "39 333 666 7777")}},
        {"dbase3",
         {customer("1", "Cantù", "Niño", "", "0039 340 1234567"),
          customer("", "Forlì", "Ærø", "a@b.it", "3479876543")}},
        {"nocodepage", {customer("", "Perù", "José", "", "3311234567")}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.folder);
        std::vector<std::pair<int, int>> progress;
        const EricsoftRegister read = readEricsoftRegister(
            data(row.folder), [&](int done, int total) { progress.emplace_back(done, total); });
        EXPECT_EQ(read.status, EricsoftRegister::Status::Read);
        EXPECT_EQ(read.customers, row.customers);
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back().first, progress.back().second);
    }
}

TEST(EricsoftRegister, CodePagesFromTheHeaderOrACpgFile)
{
    const struct
    {
        const char* declared;
        const char* name;
    } rows[] = {
        {nullptr, "windows-1252"},    {"LDID/3", "windows-1252"},
        {"LDID/2", "IBM850"},         {"LDID/87", "windows-1252"},
        {"LDID/200", "windows-1250"}, {"LDID/999", "windows-1252"},
        {"1251", "windows-1251"},     {"CP437", "IBM437"},
        {"UTF-8", "UTF-8"},           {"no such code page", "windows-1252"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(dbf::decoderName(row.declared), QByteArray(row.name))
            << (row.declared ? row.declared : "null");
    EXPECT_EQ(DbfTable::open(data("dbase3/anagrafiche.dbf"))->codePage(), QByteArray("IBM850"));
}

TEST(EricsoftRegister, FailuresOfFolderTableAndFields)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("vuota"));
    QDir().mkpath(empty);
    // A table cut short: its header promises records the file does not hold.
    const QString cut = dir.filePath(QStringLiteral("tronca"));
    QDir().mkpath(cut);
    QFile whole(data("vfp/ANAGRAFICHE.DBF"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile part(cut + QStringLiteral("/anagrafiche.dbf"));
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write(bytes.left(bytes.size() - 300));
    part.close();
    // Not a table at all.
    const QString junk = dir.filePath(QStringLiteral("rotta"));
    QDir().mkpath(junk);
    QFile junkFile(junk + QStringLiteral("/Anagrafiche.dbf"));
    ASSERT_TRUE(junkFile.open(QIODevice::WriteOnly));
    junkFile.write("not a table");
    junkFile.close();

    using Status = EricsoftRegister::Status;
    const struct
    {
        QString folder;
        Status status;
        size_t customers;
    } rows[] = {
        {empty, Status::TableMissing, 0},   {dir.filePath(QStringLiteral("assente")), Status::Unreadable, 0},
        {QString(), Status::Unreadable, 0}, {cut, Status::Unreadable, 4},
        {junk, Status::Unreadable, 0},      {data("nofield"), Status::FieldMissing, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.folder.toStdString());
        const EricsoftRegister read = readEricsoftRegister(row.folder);
        EXPECT_EQ(read.status, row.status);
        EXPECT_EQ(read.customers.size(), row.customers);
    }
    EXPECT_EQ(readEricsoftRegister(data("nofield")).missingField, QStringLiteral("telefono_3"));
}

TEST(EricsoftImport, AddsNewNumbersToMarketBooksOnceAndNothingTheSecondTime)
{
    test::TestHome home;
    // "Mercato-7" is listed but its file is gone: it gets an empty one.
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Mercato-7")});
    ASSERT_TRUE(QFile::remove(home.state.folder.bookPath(QStringLiteral("Mercato-7"))));
    home.addContact(QStringLiteral("Principale"), QStringLiteral("x"), QStringLiteral("Già"),
                    QStringLiteral("3334445555"));
    home.addContact(QStringLiteral("Principale"), QStringLiteral("y"), QStringLiteral("Più"),
                    QStringLiteral("+393336667777"));

    EricsoftImportResult result = EricsoftImport(home.state).run(data("vfp"));
    EXPECT_EQ(result.status, EricsoftImportResult::Status::Done);
    EXPECT_EQ(result.imported, 3);
    EXPECT_EQ(result.withoutNumber, 2);
    EXPECT_EQ(result.duplicates, 2);

    EXPECT_EQ(home.rows(home.state.folder.bookList(), QStringLiteral("elenco")),
              lines({"Principale", "Mercato-7", "Mercato-", "Mercato-12", "Mercato-3"}));
    EXPECT_EQ(bookRows(home, "Mercato-7"), lines({"Mario|Rossi|393331234567|mario@rossi.it|4"}));
    EXPECT_EQ(bookRows(home, "Principale"),
              lines({"x|Già|3334445555| |4", "y|Più|+393336667777| |4", " |Bianchi|3471112222| |4"}));
    EXPECT_EQ(bookRows(home, "Mercato-3"), lines({"Zoë|Più|393336667777|città@€uro.it|4"}));
    EXPECT_TRUE(bookRows(home, "Mercato-").isEmpty());
    EXPECT_TRUE(bookRows(home, "Mercato-12").isEmpty());

    result = EricsoftImport(home.state).run(data("vfp"));
    EXPECT_EQ(result.status, EricsoftImportResult::Status::Done);
    EXPECT_EQ(result.imported, 0);
    EXPECT_EQ(result.duplicates, 5);
    EXPECT_EQ(home.rows(home.state.folder.bookList(), QStringLiteral("elenco")).size(), 5);
    EXPECT_EQ(bookRows(home, "Principale").size(), 3);
}

TEST(EricsoftImport, NumbersInAnyBookCountAndAnOrphanBookFileIsTakenBack)
{
    test::TestHome home;
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Clienti")});
    home.addContact(QStringLiteral("Clienti"), QStringLiteral("a"), QStringLiteral("b"),
                    QStringLiteral("00393401234567"));
    // "Mercato-1" has a file but lost its row: its contacts come back with it.
    ASSERT_TRUE(QFile::copy(home.state.folder.bookTemplate(),
                            home.state.folder.booksDir() + QStringLiteral("/Mercato-1")));
    home.addContact(QStringLiteral("Mercato-1"), QStringLiteral("c"), QStringLiteral("d"),
                    QStringLiteral("3479876543"));

    const EricsoftImportResult result = EricsoftImport(home.state).run(data("dbase3"));
    EXPECT_EQ(result.status, EricsoftImportResult::Status::Done);
    EXPECT_EQ(result.imported, 0);
    EXPECT_EQ(result.duplicates, 2);
    EXPECT_EQ(home.rows(home.state.folder.bookList(), QStringLiteral("elenco")),
              lines({"Principale", "Clienti", "Mercato-1", "Mercato-"}));
    EXPECT_EQ(bookRows(home, "Mercato-1"), lines({"c|d|3479876543| |4"}));
}

TEST(EricsoftImport, FailuresReadNothingOrKeepWhatWasRead)
{
    test::TestHome home;
    using Status = EricsoftImportResult::Status;
    EXPECT_EQ(EricsoftImport(home.state).run(QString()).status, Status::FolderNotSet);
    QTemporaryDir empty;
    EXPECT_EQ(EricsoftImport(home.state).run(empty.path()).status, Status::TableMissing);
    EXPECT_EQ(EricsoftImport(home.state).run(empty.filePath(QStringLiteral("no"))).status,
              Status::Unreadable);
    const EricsoftImportResult missing = EricsoftImport(home.state).run(data("nofield"));
    EXPECT_EQ(missing.status, Status::FieldMissing);
    EXPECT_EQ(missing.detail, QStringLiteral("telefono_3"));
    EXPECT_EQ(home.rows(home.state.folder.bookList(), QStringLiteral("elenco")), lines({"Principale"}));
}
