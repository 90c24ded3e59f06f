#include "contacts/bookcatalog.h"
#include "contacts/bookname.h"
#include "store/database.h"
#include "store/statement.h"
#include "store/storeerror.h"
#include "tests/support/testhome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

const QString principale = QStringLiteral("Principale");
const QString casa = QStringLiteral("Casa");

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList bookFiles(const TestHome& home)
{
    return QDir(home.path(QStringLiteral("rubriche"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList bookRows(const TestHome& home)
{
    return home.rows(home.path(QStringLiteral("elenco.mdb")), QStringLiteral("elenco"));
}

TEST(BookCatalogCreate, CopiesTheTemplateAndAppendsTheRow)
{
    TestHome home;
    BookCatalog catalog(home.state);
    EXPECT_EQ(catalog.create(casa), BookCatalog::Outcome::Done);

    EXPECT_EQ(bookRows(home), QStringList({principale, casa}));
    EXPECT_EQ(bookFiles(home), QStringList({casa, principale}));
    EXPECT_EQ(contentOf(home.path(QStringLiteral("rubriche/Casa"))),
              contentOf(home.path(QStringLiteral("rubrica_base.mdb"))));
}

TEST(BookCatalogCreate, NamesAreUniqueWithoutRegardToCaseAndAccents)
{
    TestHome home;
    BookCatalog catalog(home.state);
    ASSERT_EQ(catalog.create(casa), BookCatalog::Outcome::Done);
    ASSERT_EQ(catalog.create(QStringLiteral("Èlite")), BookCatalog::Outcome::Done);

    for (const QString& name : {casa, QStringLiteral("casa"), QStringLiteral("CASA"), QStringLiteral("èlite"),
                                QStringLiteral("principale")}) {
        EXPECT_EQ(catalog.create(name), BookCatalog::Outcome::Exists) << name.toStdString();
    }
    EXPECT_EQ(catalog.create(QString()), BookCatalog::Outcome::Empty);
    EXPECT_EQ(bookRows(home), QStringList({principale, casa, QStringLiteral("Èlite")}));
    EXPECT_EQ(bookFiles(home), QStringList({casa, principale, QStringLiteral("Èlite")}));
}

TEST(BookCatalogCreate, RefusesNamesThatAreNoPlainFileName)
{
    struct Case
    {
        QString name;
        QString problem;
    };
    const QString slashes = QStringLiteral("Il nome della rubrica non può contenere i caratteri / e \\.");
    const QString control = QStringLiteral("Il nome della rubrica non può contenere caratteri di controllo.");
    const QString dot = QStringLiteral("Il nome della rubrica non può iniziare con un punto.");
    const QString tooLong = QStringLiteral("Il nome della rubrica non può superare i 100 caratteri.");
    const Case cases[] = {
        {QStringLiteral("../elenco.mdb"), slashes},
        {QStringLiteral("a/b"), slashes},
        {QStringLiteral("..\\x"), slashes},
        {QStringLiteral(".."), dot},
        {QStringLiteral(".nascosta"), dot},
        {QStringLiteral("riga\nnuova"), control},
        {QStringLiteral("tab\tx"), control},
        {QString(101, u'x'), tooLong},
        {QString(90, QChar(0x6f22)), tooLong}, // 270 bytes: too long for a file name
        {QStringLiteral("   "), QStringLiteral("Il nome della rubrica non può essere fatto di soli spazi.")},
    };
    TestHome home;
    const QStringList before = QDir(home.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    BookCatalog catalog(home.state);
    for (const Case& c : cases) {
        EXPECT_EQ(bookNameProblem(c.name), c.problem) << c.name.toStdString();
        EXPECT_EQ(catalog.create(c.name), BookCatalog::Outcome::InvalidName) << c.name.toStdString();
    }
    EXPECT_EQ(bookRows(home), QStringList{principale});
    EXPECT_EQ(bookFiles(home), QStringList{principale});
    EXPECT_EQ(QDir(home.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);

    // The limits themselves are accepted.
    for (const QString& name : {QString(100, u'x'), QStringLiteral("a.b"), QStringLiteral("Casa d'Aste"),
                                QStringLiteral("Lavoro 2024 (vecchio)")}) {
        EXPECT_EQ(bookNameProblem(name), std::nullopt) << name.toStdString();
        EXPECT_EQ(catalog.create(name), BookCatalog::Outcome::Done) << name.toStdString();
    }
}

TEST(BookCatalogCreate, MakesTheBooksFolderWhenMissing)
{
    TestHome home;
    QDir(home.path(QStringLiteral("rubriche"))).removeRecursively();
    EXPECT_EQ(BookCatalog(home.state).create(casa), BookCatalog::Outcome::Done);
    EXPECT_EQ(bookFiles(home), QStringList{casa});
}

TEST(BookCatalogCreate, NeverOverwritesAFileThatIsNoBook)
{
    TestHome home;
    const QString stray = home.path(QStringLiteral("rubriche")) + QStringLiteral("/vecchia");
    {
        QFile file(stray);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("contatti di una rubrica persa");
    }
    EXPECT_EQ(BookCatalog(home.state).create(QStringLiteral("Vecchia")), BookCatalog::Outcome::FileConflict);
    EXPECT_EQ(contentOf(stray), QByteArray("contatti di una rubrica persa"));
    EXPECT_EQ(bookRows(home), QStringList{principale});
}

TEST(BookCatalogRemove, RemovesTheExactRowAndItsFile)
{
    TestHome home;
    home.setBooks({principale, casa, QStringLiteral("Lavoro")});
    BookCatalog catalog(home.state);

    catalog.remove(QStringLiteral("casa")); // rows are matched exactly
    EXPECT_EQ(bookRows(home), QStringList({principale, casa, QStringLiteral("Lavoro")}));

    catalog.remove(casa);
    EXPECT_EQ(bookRows(home), QStringList({principale, QStringLiteral("Lavoro")}));
    EXPECT_EQ(bookFiles(home), QStringList({QStringLiteral("Lavoro"), principale}));
}

TEST(BookCatalogRemove, AMissingFileOnlyCostsTheRow)
{
    TestHome home;
    home.setBooks({principale, casa});
    ASSERT_TRUE(QFile::remove(home.path(QStringLiteral("rubriche/Casa"))));
    EXPECT_NO_THROW(BookCatalog(home.state).remove(casa));
    EXPECT_EQ(bookRows(home), QStringList{principale});
}

TEST(BookCatalogRemove, NeverTakesTheFileOfABookDifferingOnlyInCase)
{
    // Book lists from older installations may hold both spellings.
    TestHome home;
    home.setBooks({principale, casa, QStringLiteral("casa")});
    const QString dir = home.state.folder.booksDir();
    ASSERT_TRUE(QFile::copy(home.state.folder.bookTemplate(), dir + QStringLiteral("/casa")));
    ASSERT_TRUE(QFile::remove(dir + QStringLiteral("/Casa")));
    BookCatalog(home.state).remove(casa);
    EXPECT_EQ(bookRows(home), QStringList({principale, QStringLiteral("casa")}));
    EXPECT_EQ(bookFiles(home), QStringList({principale, QStringLiteral("casa")}));
}

TEST(BookCatalogRename, MovesFileAndRowWithoutLeavingATemporaryFile)
{
    TestHome home;
    home.setBooks({principale, casa, QStringLiteral("Studio")});
    home.addContact(casa, QStringLiteral("Anna"), QStringLiteral("D'Angelo"), QStringLiteral("3331234467"));

    EXPECT_EQ(BookCatalog(home.state).rename(casa, QStringLiteral("Lavoro")), BookCatalog::Outcome::Done);
    EXPECT_EQ(bookRows(home), QStringList({principale, QStringLiteral("Lavoro"), QStringLiteral("Studio")}));
    EXPECT_EQ(bookFiles(home), QStringList({QStringLiteral("Lavoro"), principale, QStringLiteral("Studio")}));
    EXPECT_EQ(home.rows(home.path(QStringLiteral("rubriche/Lavoro")), QStringLiteral("rubrica")),
              QStringList{QStringLiteral("Anna|D'Angelo|3331234467| |4")});
}

TEST(BookCatalogRename, RefusesTakenAndInvalidNames)
{
    TestHome home;
    home.setBooks({principale, casa, QStringLiteral("Lavoro")});
    BookCatalog catalog(home.state);
    EXPECT_EQ(catalog.rename(casa, casa), BookCatalog::Outcome::Exists);
    EXPECT_EQ(catalog.rename(casa, QStringLiteral("LAVORO")), BookCatalog::Outcome::Exists);
    EXPECT_EQ(catalog.rename(casa, QStringLiteral("a/b")), BookCatalog::Outcome::InvalidName);
    EXPECT_EQ(catalog.rename(casa, QString()), BookCatalog::Outcome::Empty);
    EXPECT_EQ(catalog.rename(QStringLiteral("Sparita"), QStringLiteral("Nuova")),
              BookCatalog::Outcome::NoSuchBook);

    // A stray file under the new name is neither overwritten nor adopted.
    {
        QFile stray(home.state.folder.booksDir() + QStringLiteral("/Nuova"));
        ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
        stray.write("altro");
    }
    EXPECT_EQ(catalog.rename(casa, QStringLiteral("nuova")), BookCatalog::Outcome::FileConflict);
    EXPECT_EQ(contentOf(home.state.folder.booksDir() + QStringLiteral("/Nuova")), QByteArray("altro"));
    EXPECT_EQ(bookRows(home), QStringList({principale, casa, QStringLiteral("Lavoro")}));
    EXPECT_EQ(bookFiles(home),
              QStringList({casa, QStringLiteral("Lavoro"), QStringLiteral("Nuova"), principale}));
}

TEST(BookCatalogRename, ARowThatCannotChangeLeavesBothUnderTheOldName)
{
    TestHome home;
    home.setBooks({principale, casa});
    // Another connection holds the book list's write lock until the busy time-out.
    auto other = Database::open(home.path(QStringLiteral("elenco.mdb")));
    other->exec("BEGIN IMMEDIATE");

    EXPECT_THROW(BookCatalog(home.state).rename(casa, QStringLiteral("Lavoro")), StoreError);
    other->exec("ROLLBACK");
    EXPECT_EQ(bookRows(home), QStringList({principale, casa}));
    EXPECT_EQ(bookFiles(home), QStringList({casa, principale}));
}

TEST(BookCatalogRename, AFileThatCannotMoveLeavesTheRow)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    TestHome home;
    home.setBooks({principale, casa});
    QFile::Permissions permissions = QFile::permissions(home.state.folder.booksDir());
    ASSERT_TRUE(QFile::setPermissions(home.state.folder.booksDir(), QFile::ReadOwner | QFile::ExeOwner));
    const auto outcome = BookCatalog(home.state).rename(casa, QStringLiteral("Lavoro"));
    QFile::setPermissions(home.state.folder.booksDir(), permissions);
    EXPECT_EQ(outcome, BookCatalog::Outcome::FileFailure);
    EXPECT_EQ(bookRows(home), QStringList({principale, casa}));
    EXPECT_EQ(bookFiles(home), QStringList({casa, principale}));
}

} // namespace
