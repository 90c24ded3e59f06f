#include "store/database.h"
#include "store/statement.h"
#include "tests/support/crashchild.h"
#include "tests/support/testhome.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace parlix;

namespace {

constexpr int rowsInFile = 20000;

int contactCount(const QString& bookPath)
{
    auto db = Database::open(bookPath);
    Statement count(*db, "SELECT count(*) FROM rubrica");
    count.step();
    return int(count.integer(0));
}

// Runs parlix-cli import-csv of `file` into Principale, dying at `faultPoint` when given.
std::unique_ptr<QProcess> importCsv(const test::TestHome& home, const QString& file,
                                    const QString& faultPoint = {}, int hits = 1)
{
    return test::startChild(QStringLiteral(PARLIX_CLI),
                            {QStringLiteral("--home"), home.dir.path(), QStringLiteral("import-csv"), file},
                            faultPoint, hits);
}

// An import killed part-way, even once its rows outgrow the engine's cache
// and reach the file before the commit, leaves the book sound with none of
// its rows; killed after the commit, with all of them. The next import works.
TEST(CsvImportCrashSafety, KilledPartWayTheBookHoldsNoneOrAllOfTheImport)
{
    struct Case
    {
        const char* faultPoint;
        int hits;
        int imported;
    };
    const Case cases[] = {
        {"contacts.append.row", 1, 0},
        {"contacts.append.row", rowsInFile * 3 / 4, 0},
        {"contacts.append.commit", 1, 0},
        {"contacts.append.done", 1, rowsInFile},
    };
    for (const Case& c : cases) {
        test::TestHome home;
        home.addContact(QStringLiteral("Principale"), QStringLiteral("Anna"), QStringLiteral("Neri"),
                        QStringLiteral("3331234467"));
        const QString file = home.path(QStringLiteral("contatti.csv"));
        {
            QFile csv(file);
            ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
            csv.write("Nome;Cognome;Cellulare;Posta elettronica\r\n");
            for (int i = 0; i < rowsInFile; ++i)
                csv.write(QStringLiteral("Nome%1;Cognome%1;333%2;posta%1@esempio.it\r\n")
                              .arg(i)
                              .arg(i, 7, 10, QChar(u'0'))
                              .toUtf8());
        }
        const QString book = home.path(QStringLiteral("rubriche/Principale"));
        const auto child = importCsv(home, file, QString::fromLatin1(c.faultPoint), c.hits);
        ASSERT_TRUE(test::diedAtFaultPoint(*child)) << c.faultPoint << c.hits;

        EXPECT_EQ(test::integrity(book), QStringLiteral("ok")) << c.faultPoint << c.hits;
        EXPECT_EQ(contactCount(book), 1 + c.imported) << c.faultPoint << c.hits;

        const auto again = importCsv(home, file);
        ASSERT_TRUE(again->waitForFinished(60000));
        EXPECT_EQ(again->exitCode(), 0) << again->readAllStandardError().data();
        EXPECT_EQ(contactCount(book), 1 + c.imported + rowsInFile) << c.faultPoint << c.hits;
        EXPECT_EQ(test::integrity(book), QStringLiteral("ok")) << c.faultPoint << c.hits;
    }
}

} // namespace
