// Statements in the SQL both stores speak, run the same on each.
#include "store/bookstorage.h"
#include "store/database.h"
#include "store/pgconnection.h"
#include "store/pgdatabase.h"
#include "store/pgstatement.h"
#include "store/statement.h"
#include "store/storeerror.h"
#include "store/transaction.h"
#include "tests/store/storehome.h"

#include <gtest/gtest.h>

using namespace parlix;
using test::Backend;

namespace {

class StatementTest : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        using Type = Database::ColumnType;
        book = home.openBook(QStringLiteral("Principale"));
        book->exec(QStringLiteral("CREATE TABLE prova (id %1, testo %2, numero %3)")
                       .arg(book->columnType(Type::Key), book->columnType(Type::Text),
                            book->columnType(Type::Integer))
                       .toUtf8()
                       .constData());
    }

    test::StoreHome home{GetParam()};
    std::shared_ptr<Database> book;
};

INSTANTIATE_TEST_SUITE_P(BothStores, StatementTest, ::testing::Values(Backend::Files, Backend::Postgres),
                         [](const auto& info) { return test::backendName(info.param); });

// Values go in bound and come back the same: an empty text is no NULL, an
// unbound value is; a mark inside quotes is text; keys count up on insert.
TEST_P(StatementTest, BoundValuesComeBackAsTheyWent)
{
    struct Row
    {
        const char* what;
        std::optional<QString> testo; // unbound when empty
        long long numero;
        QString read;     // testo as read back
        bool readNull;    // ... a null QString
        QString question; // the row's text compared with '?'
    } rows[] = {
        {"text", QStringLiteral("D'Amico è qui"), 42, QStringLiteral("D'Amico è qui"), false,
         QStringLiteral("no")},
        {"empty", QString(), -7, QString(), false, QStringLiteral("no")},
        {"unbound", std::nullopt, 0, QString(), true, QStringLiteral("no")},
        {"mark", QStringLiteral("?"), 1LL << 40, QStringLiteral("?"), false, QStringLiteral("sì")},
    };
    Statement insert(*book, "INSERT INTO prova (testo, numero) VALUES (?, ?) RETURNING id");
    long long previous = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.testo) {
            insert.bind(1, *row.testo);
        } else {
            Statement unbound(*book, "INSERT INTO prova (numero) VALUES (?) RETURNING id");
            unbound.bind(1, row.numero);
            ASSERT_TRUE(unbound.step());
            EXPECT_GT(unbound.integer(0), previous);
            previous = unbound.integer(0);
            unbound.reset();
            continue;
        }
        insert.bind(2, row.numero);
        ASSERT_TRUE(insert.step());
        EXPECT_GT(insert.integer(0), previous);
        previous = insert.integer(0);
        insert.reset();
    }

    Statement read(*book, "SELECT testo, numero, CASE WHEN testo = '?' THEN 'sì' ELSE 'no' END"
                          " FROM prova ORDER BY id");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(read.step());
        EXPECT_EQ(read.text(0), row.read);
        EXPECT_EQ(read.text(0).isNull(), row.readNull);
        EXPECT_EQ(read.integer(1), row.numero);
        EXPECT_EQ(read.text(2), row.question);
    }
    EXPECT_FALSE(read.step());
    // After the last row the statement runs again, with the values bound before.
    Statement count(*book, "SELECT count(*) FROM prova WHERE numero > ?");
    count.bind(1, 0LL);
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(count.step());
        EXPECT_EQ(count.integer(0), 2);
        EXPECT_FALSE(count.step());
    }
}

// Each archive's statements reach its own tables, whichever archive of the
// same connection ran last; a rolled-back transaction leaves nothing.
TEST_P(StatementTest, StatementsReachTheTablesOfTheirOwnArchive)
{
    home.store->books().create(QStringLiteral("L'altra rubrica"))->finish();
    const auto other = home.openBook(QStringLiteral("L'altra rubrica"));
    const auto insert = [](Database& db, const QString& cognome) {
        Statement st(db, "INSERT INTO rubrica (cognome) VALUES (?)");
        st.bind(1, cognome);
        st.step();
    };
    const auto names = [](Database& db) {
        QStringList found;
        Statement st(db, "SELECT cognome FROM rubrica ORDER BY cognome");
        while (st.step())
            found << st.text(0);
        return found;
    };
    insert(*book, QStringLiteral("Rossi"));
    insert(*other, QStringLiteral("Bianchi"));
    {
        Transaction lost(*other);
        insert(*other, QStringLiteral("Verdi"));
    }
    insert(*book, QStringLiteral("Neri"));
    EXPECT_EQ(names(*book), (QStringList{QStringLiteral("Neri"), QStringLiteral("Rossi")}));
    EXPECT_EQ(names(*other), QStringList{QStringLiteral("Bianchi")});
}

// A connection the server dropped loses what was prepared on it: the next
// statement after the failed one connects again and prepares afresh, in the
// archive's own schema.
TEST(PgStatement, AfterALostConnectionStatementsArePreparedAgain)
{
    test::StoreHome home{Backend::Postgres};
    home.store->books().create(QStringLiteral("Altra"))->finish();
    const auto book = home.openBook(QStringLiteral("Altra"));
    {
        Statement insert(*book, "INSERT INTO rubrica (cognome) VALUES (?)");
        insert.bind(1, QStringLiteral("Rossi"));
        insert.step();
    }
    const auto count = [&] {
        Statement st(*book, "SELECT count(*) FROM rubrica WHERE cognome = ?");
        st.bind(1, QStringLiteral("Rossi"));
        EXPECT_TRUE(st.step());
        return st.integer(0);
    };
    EXPECT_EQ(count(), 1);
    PgConnection admin(home.address);
    admin.exec(QStringLiteral("SELECT pg_terminate_backend($1::int)"),
               {QString::number(dynamic_cast<PgDatabase&>(*book).connection().backendPid())});
    EXPECT_THROW(count(), StoreError);
    EXPECT_EQ(count(), 1);
}

// An exclusive transaction that could not get its lock (here: it waited too
// long) is not left open on the connection for the next one to trip on.
TEST(PgStatement, AnExclusiveTransactionThatCannotBeginLeavesTheConnectionUsable)
{
    test::StoreHome home{Backend::Postgres};
    const auto mine = home.openBook(QStringLiteral("Principale"));
    const auto other = home.seat()->open(home.bookPath(QStringLiteral("Principale")));
    dynamic_cast<PgDatabase&>(*other).connection().run(QStringLiteral("SET lock_timeout = '50ms'"));
    Transaction held(*mine, Transaction::Mode::Exclusive);
    EXPECT_THROW(Transaction(*other, Transaction::Mode::Exclusive), StoreError);
    held.commit();

    Transaction next(*other, Transaction::Mode::Exclusive);
    Statement count(*other, "SELECT count(*) FROM rubrica");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 0);
    count.reset();
    next.commit();
}

TEST(PgStatement, MarksBecomeNumberedOutsideQuotes)
{
    struct Row
    {
        const char* sql;
        const char* numbered;
        int marks;
    } rows[] = {
        {"SELECT 1", "SELECT 1", 0},
        {"a = ? AND b = ?", "a = $1 AND b = $2", 2},
        {"x = '?' OR y = ?", "x = '?' OR y = $1", 1},
        {"\"Che?\" = ? AND z = 'l''?' || ?", "\"Che?\" = $1 AND z = 'l''?' || $2", 2},
    };
    for (const Row& row : rows) {
        int marks = -1;
        EXPECT_EQ(PgStatement::numberedMarks(QString::fromUtf8(row.sql), marks), QByteArray(row.numbered))
            << row.sql;
        EXPECT_EQ(marks, row.marks) << row.sql;
    }
}

} // namespace
