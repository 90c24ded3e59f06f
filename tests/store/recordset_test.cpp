#include "store/database.h"
#include "store/recordset.h"
#include "store/storeerror.h"
#include "store/transaction.h"
#include "tests/store/storehome.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace parlix;

namespace {

class RecordsetTest : public ::testing::TestWithParam<test::Backend>
{
protected:
    void SetUp() override { db = home.openBook(QStringLiteral("Principale")); }

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

    test::StoreHome home{GetParam()};
    std::shared_ptr<Database> db;
};

TEST_P(RecordsetTest, WalksAddsChangesAndDeletesInStoredOrder)
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

TEST_P(RecordsetTest, EqualityIgnoresCaseLikeTheBooksAlwaysDid)
{
    addContact(QStringLiteral("Rossi"), QStringLiteral("abc"));
    EXPECT_EQ(walk(queries::contactByNumber(QStringLiteral("ABC"))), QStringList{QStringLiteral("Rossi")});

    const auto list = home.store->open(home.path(QStringLiteral("elenco.mdb")));
    {
        Recordset add(list, queries::wholeTable(QStringLiteral("elenco")));
        add.addNew();
        add.setField(u"Rubrica", QStringLiteral("Casa"));
        add.update();
    }
    Recordset books(list, queries::bookByName(QStringLiteral("casa")));
    EXPECT_EQ(books.recordCount(), 1);
    EXPECT_EQ(books.field(u"rubrica"), QStringLiteral("Casa"));
}

TEST_P(RecordsetTest, PrefixSearchTreatsQuotesAndWildcardsAsText)
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

TEST_P(RecordsetTest, LookupsAndSearchesAreServedByTheirIndexes)
{
    // An empty table on PostgreSQL is scanned whatever its indexes; ask
    // whether an index can serve the query at all.
    if (!db->handle())
        db->exec("SET enable_seqscan = off");
    const auto plan = [&](const Query& query) { return Recordset(db, query).queryPlan().toStdString(); };
    struct Case
    {
        Query query;
        const char* index;
    };
    const QString date = QStringLiteral("01/01/2026 10:00:00");
    const Case cases[] = {
        {queries::contactsBeginningWith(QStringLiteral("cognome"), QStringLiteral("Ro")), "rubrica_cognome"},
        {queries::contactsBeginningWith(QStringLiteral("cellulare"), QStringLiteral("33")),
         "rubrica_cellulare"},
        {queries::contactsBeginningWith(QStringLiteral("nome"), QStringLiteral("Ro")), "rubrica_nome"},
        {queries::contactsBeginningWith(QStringLiteral("email"), QStringLiteral("ro@")), "rubrica_email"},
        {queries::contactByNumber(QStringLiteral("333")), "rubrica_cellulare"},
        {queries::messageByNumberAndDate(QStringLiteral("inviati"), QStringLiteral("333"), date),
         "inviati_chiave"},
        {queries::wholeTable(QStringLiteral("rubrica")),
         db->handle() ? "INTEGER PRIMARY KEY" : "rubrica_pkey"},
    };
    for (const Case& c : cases) {
        const std::string used = plan(c.query);
        EXPECT_NE(used.find(c.index), std::string::npos) << c.index << ": " << used;
        EXPECT_EQ(used.find("SCAN rubrica "), std::string::npos) << used;
    }
    // Letters SQLite's NOCASE does not fold: each spelling is a range of the
    // same index, and the ranges are united.
    const std::string accented =
        plan(queries::contactsBeginningWith(QStringLiteral("cognome"), QStringLiteral("Èr")));
    if (db->handle()) {
        EXPECT_EQ(accented,
                  "MULTI-INDEX OR; INDEX 1; SEARCH rubrica USING INDEX rubrica_cognome (cognome>? AND "
                  "cognome<?); INDEX 2; SEARCH rubrica USING INDEX rubrica_cognome (cognome>? AND "
                  "cognome<?); USE TEMP B-TREE FOR ORDER BY");
    } else {
        EXPECT_NE(accented.find("rubrica_cognome"), std::string::npos) << accented;
    }
}

TEST_P(RecordsetTest, SameNumberTwiceDeletesOnlyTheFirstInStoredOrder)
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

TEST_P(RecordsetTest, MissingCurrentRecordIsReported)
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

TEST_P(RecordsetTest, MessagesAreFoundByNumberAndExactDate)
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

TEST_P(RecordsetTest, WalksPastBlockBoundariesAndLeavesNoLockWhenStoppedHalfWay)
{
    const int total = 2 * db->blockRows() + 500;
    {
        Transaction transaction(*db);
        Recordset add(db, queries::wholeTable(QStringLiteral("rubrica")));
        for (int i = 0; i < total; ++i) {
            add.addNew();
            add.setField(u"cognome", QStringLiteral("C%1").arg(i));
            add.setField(u"cellulare", QString::number(i % 3));
            add.update();
        }
        transaction.commit();
    }

    // A whole table is read in blocks, a condition's matches at once: both
    // stopped half-way must let another seat write. A forward-only walk holds
    // the rows until its end, and no longer.
    struct Case
    {
        Query query;
        Recordset::Reading reading;
        int step;  // distance between rows seen, in insertion order
        int first; // cognome number of the first row
        int rows;
    };
    using Reading = Recordset::Reading;
    const Case cases[] = {
        {queries::wholeTable(QStringLiteral("rubrica")), Reading::Blocks, 1, 0, total},
        {queries::contactByNumber(QStringLiteral("1")), Reading::Blocks, 3, 1, (total + 1) / 3},
        {queries::wholeTable(QStringLiteral("rubrica")), Reading::ForwardOnly, 1, 0, total},
        {queries::contactByNumber(QStringLiteral("1")), Reading::ForwardOnly, 3, 1, (total + 1) / 3}};
    for (const Case& c : cases) {
        Recordset walk(db, c.query, c.reading);
        const auto writeFromAnotherSeat = [&] {
            auto other = home.seat()->open(home.bookPath(QStringLiteral("Principale")));
            if (other->handle())
                other->exec("PRAGMA busy_timeout = 0");
            EXPECT_NO_THROW({
                Recordset change(other, queries::contactByNumber(QStringLiteral("2")));
                change.edit();
                change.setField(u"email", QStringLiteral("x"));
                change.update();
            });
        };
        int seen = 0;
        for (; !walk.eof() && seen < db->blockRows() + 100; walk.moveNext()) {
            EXPECT_EQ(walk.field(u"cognome"), QStringLiteral("C%1").arg(seen * c.step + c.first));
            ++seen;
        }
        if (c.reading == Reading::Blocks)
            writeFromAnotherSeat();

        for (; !walk.eof(); walk.moveNext()) {
            EXPECT_EQ(walk.field(u"cognome"), QStringLiteral("C%1").arg(seen * c.step + c.first));
            ++seen;
        }
        EXPECT_EQ(seen, c.rows);
        if (c.reading == Reading::ForwardOnly)
            writeFromAnotherSeat();
        walk.moveFirst();
        EXPECT_EQ(walk.field(u"cognome"), QStringLiteral("C%1").arg(c.first));
        EXPECT_FALSE(walk.field(u"email").isNull()); // never set: an empty text all the same
    }
}

INSTANTIATE_TEST_SUITE_P(BothStores, RecordsetTest,
                         ::testing::Values(test::Backend::Files, test::Backend::Postgres),
                         [](const auto& info) { return test::backendName(info.param); });

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
