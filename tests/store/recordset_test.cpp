#include "store/database.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/storeerror.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace parlix;

namespace {

class RecordsetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("Casa"));
        schema::createBook(path);
        db = Database::open(path);
    }

    void addContact(const QString& cognome, const QString& cellulare)
    {
        Recordset rs(db, queries::wholeTable(QStringLiteral("rubrica")));
        rs.addNew();
        rs.setField(u"nome", QStringLiteral("N"));
        rs.setField(u"cognome", cognome);
        rs.setField(u"cellulare", cellulare);
        rs.setField(u"email", QStringLiteral(" "));
        rs.setField(u"icona", QStringLiteral("4"));
        rs.update();
    }

    QStringList walk(const Query& query, QStringView field = u"cognome")
    {
        QStringList values;
        Recordset rs(db, query);
        if (rs.recordCount() > 0)
            rs.moveFirst();
        for (; !rs.eof(); rs.moveNext())
            values << rs.field(field);
        return values;
    }

    QTemporaryDir dir;
    QString path;
    std::shared_ptr<Database> db;
};

TEST_F(RecordsetTest, WalksAddsChangesAndDeletesInStoredOrder)
{
    addContact(QStringLiteral("Rossi"), QStringLiteral("3331"));
    addContact(QStringLiteral("Bianchi"), QStringLiteral("3332"));
    addContact(QStringLiteral("Verdi"), QStringLiteral("3333"));
    EXPECT_EQ(walk(queries::wholeTable(QStringLiteral("rubrica"))),
              QStringList({QStringLiteral("Rossi"), QStringLiteral("Bianchi"), QStringLiteral("Verdi")}));

    {
        Recordset rs(db, queries::contactByNumber(QStringLiteral("3332")));
        ASSERT_EQ(rs.recordCount(), 1);
        rs.edit();
        rs.setField(u"Cognome", QStringLiteral("Neri"));
        rs.update();
        EXPECT_EQ(rs.field(u"cognome"), QStringLiteral("Neri")); // the current row shows the change
    }
    {
        Recordset rs(db, queries::contactByNumber(QStringLiteral("3331")));
        rs.deleteCurrent();
        EXPECT_EQ(rs.recordCount(), 0);
    }
    EXPECT_EQ(walk(queries::wholeTable(QStringLiteral("rubrica"))),
              QStringList({QStringLiteral("Neri"), QStringLiteral("Verdi")}));
}

TEST_F(RecordsetTest, EqualityIgnoresCaseLikeTheBooksAlwaysDid)
{
    addContact(QStringLiteral("Rossi"), QStringLiteral("abc"));
    EXPECT_EQ(walk(queries::contactByNumber(QStringLiteral("ABC"))), QStringList{QStringLiteral("Rossi")});

    const QString list = dir.filePath(QStringLiteral("elenco.mdb"));
    schema::createBookList(list, {QStringLiteral("Principale"), QStringLiteral("Casa")});
    Recordset books(Database::open(list), queries::bookByName(QStringLiteral("casa")));
    EXPECT_EQ(books.recordCount(), 1);
    EXPECT_EQ(books.field(u"rubrica"), QStringLiteral("Casa"));
}

TEST_F(RecordsetTest, PrefixSearchTreatsQuotesAndWildcardsAsText)
{
    addContact(QStringLiteral("D'Angelo"), QStringLiteral("1"));
    addContact(QStringLiteral("dalla"), QStringLiteral("2"));
    addContact(QStringLiteral("50%sconto"), QStringLiteral("3"));
    addContact(QStringLiteral("50 euro"), QStringLiteral("4"));
    addContact(QStringLiteral("a_b"), QStringLiteral("5"));
    addContact(QStringLiteral("axb"), QStringLiteral("6"));
    addContact(QStringLiteral("x\\y"), QStringLiteral("7"));
    addContact(QStringLiteral("Verdi D'A"), QStringLiteral("8"));

    const auto search = [&](const QString& text) {
        return walk(queries::contactsBeginningWith(QStringLiteral("cognome"), text));
    };
    EXPECT_EQ(search(QStringLiteral("d'a")), QStringList{QStringLiteral("D'Angelo")});
    EXPECT_EQ(search(QStringLiteral("D")),
              QStringList({QStringLiteral("D'Angelo"), QStringLiteral("dalla")}));
    EXPECT_EQ(search(QStringLiteral("50%")), QStringList{QStringLiteral("50%sconto")});
    EXPECT_EQ(search(QStringLiteral("a_")), QStringList{QStringLiteral("a_b")});
    EXPECT_EQ(search(QStringLiteral("x\\")), QStringList{QStringLiteral("x\\y")});
    EXPECT_EQ(search(QStringLiteral("ngelo")), QStringList());
}

TEST_F(RecordsetTest, LookupsAndSearchesAreServedByTheirIndexes)
{
    const auto plan = [&](const Query& query) { return Recordset(db, query).queryPlan().toStdString(); };
    for (const char* field : {"cognome", "cellulare", "nome", "email"}) {
        const std::string used =
            plan(queries::contactsBeginningWith(QString::fromLatin1(field), QStringLiteral("Ro")));
        EXPECT_NE(used.find("USING INDEX rubrica_"), std::string::npos) << field << ": " << used;
    }
    // Letters NOCASE does not fold: each spelling is a range of the same index, united.
    const std::string accented =
        plan(queries::contactsBeginningWith(QStringLiteral("cognome"), QStringLiteral("Èr")));
    EXPECT_EQ(accented, "MULTI-INDEX OR; INDEX 1; SEARCH rubrica USING INDEX rubrica_cognome (cognome>? AND "
                        "cognome<?); INDEX 2; SEARCH rubrica USING INDEX rubrica_cognome (cognome>? AND "
                        "cognome<?); USE TEMP B-TREE FOR ORDER BY")
        << accented;
    const std::string byNumber = plan(queries::contactByNumber(QStringLiteral("333")));
    EXPECT_NE(byNumber.find("USING INDEX rubrica_cellulare"), std::string::npos) << byNumber;
    const std::string message = plan(queries::messageByNumberAndDate(
        QStringLiteral("inviati"), QStringLiteral("333"), QStringLiteral("01/01/2026 10:00:00")));
    EXPECT_NE(message.find("USING INDEX inviati_chiave"), std::string::npos) << message;
    const std::string whole = plan(queries::wholeTable(QStringLiteral("rubrica")));
    EXPECT_NE(whole.find("INTEGER PRIMARY KEY"), std::string::npos) << whole;
}

TEST_F(RecordsetTest, SameNumberTwiceDeletesOnlyTheFirstInStoredOrder)
{
    addContact(QStringLiteral("Primo"), QStringLiteral("333"));
    addContact(QStringLiteral("Secondo"), QStringLiteral("333"));
    {
        Recordset rs(db, queries::contactByNumber(QStringLiteral("333")));
        EXPECT_EQ(rs.recordCount(), 2);
        EXPECT_EQ(rs.field(u"cognome"), QStringLiteral("Primo"));
        rs.deleteCurrent();
    }
    EXPECT_EQ(walk(queries::wholeTable(QStringLiteral("rubrica"))), QStringList{QStringLiteral("Secondo")});
}

TEST_F(RecordsetTest, MissingCurrentRecordIsReported)
{
    Recordset rs(db, queries::contactByNumber(QStringLiteral("nessuno")));
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_TRUE(rs.eof());
    const auto code = [](auto action) {
        try {
            action();
        } catch (const StoreError& e) {
            return e.code();
        }
        return StoreError::Code::Engine;
    };
    EXPECT_EQ(code([&] { rs.moveFirst(); }), StoreError::Code::NoCurrentRecord);
    EXPECT_EQ(code([&] { (void)rs.field(u"cognome"); }), StoreError::Code::NoCurrentRecord);
    EXPECT_EQ(code([&] { rs.deleteCurrent(); }), StoreError::Code::NoCurrentRecord);
    EXPECT_EQ(code([&] { rs.edit(); }), StoreError::Code::NoCurrentRecord);

    addContact(QStringLiteral("Solo"), QStringLiteral("1"));
    Recordset one(db, queries::wholeTable(QStringLiteral("rubrica")));
    one.deleteCurrent();
    EXPECT_EQ(code([&] { (void)one.field(u"cognome"); }), StoreError::Code::NoCurrentRecord);
    EXPECT_EQ(code([&] { (void)one.field(u"nonesiste"); }), StoreError::Code::NoSuchField);
}

TEST_F(RecordsetTest, MessagesAreFoundByNumberAndExactDate)
{
    for (const char* table : {"salvati", "inviati", "cancellati"}) {
        Recordset rs(db, queries::wholeTable(QString::fromLatin1(table)));
        rs.addNew();
        rs.setField(u"cognome", QStringLiteral("Rossi"));
        rs.setField(u"cellulare", QStringLiteral("333"));
        rs.setField(u"data", QStringLiteral("01/02/2026 10:00:00"));
        rs.setField(u"Testo", QStringLiteral("ciao"));
        rs.update();
        EXPECT_EQ(
            Recordset(db, queries::messageByNumberAndDate(QString::fromLatin1(table), QStringLiteral("333"),
                                                          QStringLiteral("01/02/2026 10:00:00")))
                .recordCount(),
            1);
        EXPECT_EQ(
            Recordset(db, queries::messageByNumberAndDate(QString::fromLatin1(table), QStringLiteral("333"),
                                                          QStringLiteral("01/02/2026 10:00:01")))
                .recordCount(),
            0);
    }
}

TEST_F(RecordsetTest, WalksPastBlockBoundariesAndLeavesNoLockWhenStoppedHalfWay)
{
    db->exec("BEGIN");
    {
        Statement insert(*db, "INSERT INTO rubrica (cognome, cellulare) VALUES (?, ?)");
        for (int i = 0; i < 5000; ++i) {
            insert.bind(1, QStringLiteral("C%1").arg(i));
            insert.bind(2, QString::number(i % 3));
            insert.step();
        }
    }
    db->exec("COMMIT");

    // A whole table is read in blocks, a condition's matches at once: both
    // stopped half-way must let another connection write.
    struct Case
    {
        Query query;
        int step;  // rowid distance between rows seen
        int first; // cognome number of the first row
        int rows;
    };
    const Case cases[] = {{queries::wholeTable(QStringLiteral("rubrica")), 1, 0, 5000},
                          {queries::contactByNumber(QStringLiteral("1")), 3, 1, 1667}};
    for (const Case& c : cases) {
        Recordset walk(db, c.query);
        int seen = 0;
        for (; !walk.eof() && seen < 3000; walk.moveNext()) {
            EXPECT_EQ(walk.field(u"cognome"), QStringLiteral("C%1").arg(seen * c.step + c.first));
            ++seen;
        }
        auto other = Database::open(path);
        other->exec("PRAGMA busy_timeout = 0");
        EXPECT_NO_THROW(other->exec("UPDATE rubrica SET email = 'x' WHERE cellulare = '2'"));

        for (; !walk.eof(); walk.moveNext()) {
            EXPECT_EQ(walk.field(u"cognome"), QStringLiteral("C%1").arg(seen * c.step + c.first));
            ++seen;
        }
        EXPECT_EQ(seen, c.rows);
        walk.moveFirst();
        EXPECT_EQ(walk.field(u"cognome"), QStringLiteral("C%1").arg(c.first));
    }
}

TEST(DatabaseTest, RefusesFilesThatAreNotDatabasesAndLeavesThemAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vecchia"));
    QByteArray jet("\x00\x01\x00\x00Standard Jet DB\x00", 20);
    jet.append(QByteArray(4096, '\x5a'));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(jet);
    }
    try {
        Database::open(path);
        FAIL() << "a Jet file was opened";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.code(), StoreError::Code::NotADatabase);
        EXPECT_TRUE(e.message().contains(QStringLiteral("non è un archivio di Parlix valido")));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), jet);

    try {
        Database::open(dir.filePath(QStringLiteral("manca")));
        FAIL() << "a missing file was opened";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.code(), StoreError::Code::CannotOpen);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("manca"))));
}

} // namespace
