#include "contacts/bookcatalog.h"
#include "contacts/contactstore.h"
#include "store/bookstorage.h"
#include "store/database.h"
#include "store/pgconnection.h"
#include "store/schema.h"
#include "store/storeerror.h"
#include "tests/support/crashchild.h"
#include "tests/support/testhome.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#ifndef PARLIX_BOOKCHILD
#error "PARLIX_BOOKCHILD must name the book change helper"
#endif

using namespace parlix;
using parlix::test::integrity;
using parlix::test::TestHome;

namespace {

const QString principale = QStringLiteral("Principale");
const QString casa = QStringLiteral("Casa");

// Starts the helper on the test's data folder, dying at `faultPoint` when given.
std::unique_ptr<QProcess> startChild(const TestHome& home, const QStringList& change,
                                     const QString& faultPoint = {})
{
    return test::startChild(QStringLiteral(PARLIX_BOOKCHILD), QStringList{home.dir.path()} + change,
                            faultPoint);
}

QStringList bookFiles(const TestHome& home)
{
    return QDir(home.path(QStringLiteral("rubriche"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList bookRows(const TestHome& home)
{
    return home.rows(home.path(QStringLiteral("elenco.mdb")), QStringLiteral("elenco"));
}

// Makes every change of the book list fail from now on, as a full disk or a
// lost server would, once the store's half of a change is made.
void refuseListChanges(const TestHome& home, bool refuse)
{
    if (home.shared) {
        PgConnection admin(home.shared->address);
        admin.run(refuse ? QStringLiteral(
                               "CREATE FUNCTION public.refuse() RETURNS trigger LANGUAGE plpgsql AS "
                               "$$BEGIN RAISE EXCEPTION 'rifiutato'; END$$; CREATE TRIGGER refuse BEFORE "
                               "INSERT OR UPDATE OR DELETE ON public.elenco EXECUTE FUNCTION public.refuse()")
                         : QStringLiteral("DROP TRIGGER refuse ON public.elenco"));
        return;
    }
    const auto list = Database::open(home.path(QStringLiteral("elenco.mdb")));
    for (const char* event : {"INSERT", "UPDATE", "DELETE"}) {
        const QByteArray trigger = QByteArray("refuse_") + event;
        const QByteArray sql = refuse ? "CREATE TRIGGER " + trigger + " BEFORE " + event +
                                            " ON elenco BEGIN SELECT RAISE(ABORT, 'rifiutato'); END"
                                      : "DROP TRIGGER " + trigger;
        list->exec(sql.constData());
    }
}

class BookChangeSafety : public ::testing::TestWithParam<test::Backend>
{
};

INSTANTIATE_TEST_SUITE_P(BothStores, BookChangeSafety,
                         ::testing::Values(test::Backend::Files, test::Backend::Postgres),
                         [](const auto& info) { return test::backendName(info.param); });

// A change run whole, refused by the book list, or killed at each of its
// steps leaves, once the next start has repaired it, rows and books that
// agree: the change happened whole or not at all, and the book's contents
// survive. A file that cannot move back at once (its old name taken
// meanwhile) is kept until it can: the book is never lost.
TEST_P(BookChangeSafety, WholeRefusedOrKilledAtEveryStepThenTheNextStartRepairs)
{
    enum class Hindrance { None, ListRefuses, OldNameTaken };
    struct Case
    {
        QStringList change;
        const char* faultPoint; // empty: the change runs to its end
        Hindrance hindrance;
        QStringList rows; // books are expected to match them
    };
    const QString lavoro = QStringLiteral("Lavoro");
    const QString nuova = QStringLiteral("Nuova");
    const QStringList create = {QStringLiteral("create"), nuova};
    const QStringList remove = {QStringLiteral("delete"), casa};
    const QStringList rename = {QStringLiteral("rename"), casa, lavoro};
    const Case cases[] = {
        {create, "", Hindrance::None, {principale, casa, nuova}},
        {remove, "", Hindrance::None, {principale}},
        {rename, "", Hindrance::None, {principale, lavoro}},
        {create, "", Hindrance::ListRefuses, {principale, casa}},
        {remove, "", Hindrance::ListRefuses, {principale, casa}},
        {rename, "", Hindrance::ListRefuses, {principale, casa}},
        {create, "book.create.file", Hindrance::None, {principale, casa}},
        {create, "book.create.row", Hindrance::None, {principale, casa, nuova}},
        {remove, "book.delete.file", Hindrance::None, {principale, casa}},
        {remove, "book.delete.row", Hindrance::None, {principale}},
        {rename, "book.rename.file", Hindrance::None, {principale, casa}},
        {rename, "book.rename.row", Hindrance::None, {principale, lavoro}},
        {remove, "book.delete.file", Hindrance::OldNameTaken, {principale, casa}},
        {rename, "book.rename.file", Hindrance::OldNameTaken, {principale, casa}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change.join(u' ').toStdString() + " " + c.faultPoint + " " +
                     std::to_string(int(c.hindrance)));
        TestHome home(GetParam());
        ASSERT_EQ(BookCatalog(home.state).create(casa), BookCatalog::Outcome::Done);
        home.addContact(casa, QStringLiteral("Anna"), QStringLiteral("Neri"), QStringLiteral("3331234467"));
        if (c.hindrance == Hindrance::ListRefuses)
            refuseListChanges(home, true);
        const auto child = startChild(home, c.change, QString::fromLatin1(c.faultPoint));
        if (*c.faultPoint != 0) {
            ASSERT_TRUE(test::diedAtFaultPoint(*child));
        } else {
            ASSERT_TRUE(child->waitForFinished(30000));
            EXPECT_EQ(child->exitCode(), c.hindrance == Hindrance::ListRefuses ? 2 : 0);
        }
        if (c.hindrance == Hindrance::ListRefuses)
            refuseListChanges(home, false);
        const QString stray = home.path(QStringLiteral("rubriche/Casa"));
        if (c.hindrance == Hindrance::OldNameTaken) {
            QFile file(stray);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
            BookCatalog(home.state).repair();
            ASSERT_TRUE(QFile::remove(stray));
        }
        if (!home.shared) {
            EXPECT_EQ(integrity(home.path(QStringLiteral("elenco.mdb"))), QStringLiteral("ok"));
        }

        BookCatalog(home.state).repair();
        BookStorage& books = home.state.store->books();
        EXPECT_FALSE(books.interrupted());
        EXPECT_EQ(BookCatalog(home.state).names(), c.rows);
        for (const QString& book : {casa, lavoro, nuova})
            EXPECT_EQ(books.exists(book), c.rows.contains(book)) << book.toStdString();
        if (!home.shared) {
            QStringList files = c.rows;
            files.sort();
            EXPECT_EQ(bookFiles(home), files);
        }
        const QString kept = c.rows.contains(casa) ? casa : c.rows.contains(lavoro) ? lavoro : QString();
        if (!kept.isEmpty()) {
            EXPECT_EQ(home.rows(home.state.folder.bookPath(kept), QStringLiteral("rubrica")).size(), 1);
        }
        // Nothing blocks a name for good.
        EXPECT_EQ(BookCatalog(home.state).create(nuova),
                  c.rows.contains(nuova) ? BookCatalog::Outcome::Exists : BookCatalog::Outcome::Done);
    }
}

// A contact save killed just before or just after its write leaves the book
// sound with the old contact or the new one, never a part of either, and the
// next save works.
TEST(ContactCrashSafety, KillBeforeOrAfterTheWriteKeepsTheOldOrTheNewContact)
{
    struct Case
    {
        QStringList change;
        const char* faultPoint;
        QStringList rows;
    };
    const QString anna = QStringLiteral("Anna|Neri|3331234467| |4");
    const QString marco = QStringLiteral("Marco|Verdi|3339990000| |4");
    const QString bruni = QStringLiteral("Anna|Bruni|3331234468| |4");
    const QStringList add = {QStringLiteral("add"), casa, QStringLiteral("Marco"), QStringLiteral("Verdi"),
                             QStringLiteral("3339990000")};
    // The contact is named by its row key.
    const QStringList replace = {QStringLiteral("replace"), casa,
                                 QStringLiteral("1"),       QStringLiteral("Anna"),
                                 QStringLiteral("Bruni"),   QStringLiteral("3331234468")};
    const Case cases[] = {
        {add, "contact.add.row", {anna}},
        {add, "contact.add.done", {anna, marco}},
        {replace, "contact.replace.row", {anna}},
        {replace, "contact.replace.done", {bruni}},
    };
    for (const Case& c : cases) {
        TestHome home;
        home.setBooks({principale, casa});
        home.addContact(casa, QStringLiteral("Anna"), QStringLiteral("Neri"), QStringLiteral("3331234467"));
        const auto child = startChild(home, c.change, QString::fromLatin1(c.faultPoint));
        ASSERT_TRUE(test::diedAtFaultPoint(*child)) << c.faultPoint;

        const QString book = home.path(QStringLiteral("rubriche/Casa"));
        EXPECT_EQ(integrity(book), QStringLiteral("ok")) << c.faultPoint;
        EXPECT_EQ(home.rows(book, QStringLiteral("rubrica")), c.rows) << c.faultPoint;
        EXPECT_EQ(ContactStore(home.state)
                      .add(casa, {QStringLiteral("Giulia"), QStringLiteral("Rossi"),
                                  QStringLiteral("3330000001"), QStringLiteral(" "), QStringLiteral("4")}),
                  ContactStore::AddOutcome::Added)
            << c.faultPoint;
        EXPECT_EQ(home.rows(book, QStringLiteral("rubrica")).size(), c.rows.size() + 1) << c.faultPoint;
    }
}

// Two processes creating names that differ only in case: one wins, the other
// is told the book exists, every round.
TEST(BookCrashSafety, CreationIsAtomicAcrossProcesses)
{
    TestHome home;
    for (int round = 0; round < 8; ++round) {
        const QString upper = QStringLiteral("G%1").arg(round);
        const QString lower = upper.toLower();
        const auto first = startChild(home, {QStringLiteral("create"), upper});
        const auto second = startChild(home, {QStringLiteral("create"), lower});
        ASSERT_TRUE(first->waitForFinished(30000) && second->waitForFinished(30000));
        EXPECT_EQ(first->exitCode() + second->exitCode(), 1)
            << round << first->readAllStandardError().data() << second->readAllStandardError().data();
        EXPECT_EQ(bookRows(home).filter(upper, Qt::CaseInsensitive).size(), 1) << round;
        EXPECT_EQ(bookFiles(home).filter(upper, Qt::CaseInsensitive).size(), 1) << round;
    }
}

// Rows whose names would reach outside "rubriche", by their text or through a
// link, are damaged: listed, never acted on.
TEST(BookCatalogDamage, NamesThatLeaveTheBooksFolderAreNeverActedOn)
{
    TestHome home;
    const QString victim = home.path(QStringLiteral("victim.txt"));
    ASSERT_TRUE(home.dir.isValid());
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("da non toccare");
    }
    ASSERT_TRUE(QFile::link(victim, home.path(QStringLiteral("rubriche")) + QStringLiteral("/Collegata")));
    const QStringList damaged = {QStringLiteral("../victim.txt"), QStringLiteral("Collegata"),
                                 QStringLiteral(".."), QStringLiteral("a\\b")};
    QFile::remove(home.state.folder.bookList());
    schema::createBookList(home.state.folder.bookList(), QStringList{principale} + damaged);

    BookCatalog catalog(home.state);
    EXPECT_FALSE(catalog.isDamaged(principale));
    for (const QString& name : damaged) {
        EXPECT_TRUE(catalog.isDamaged(name)) << qPrintable(name);
        EXPECT_TRUE(home.state.folder.bookPath(name).isEmpty()) << qPrintable(name);
        EXPECT_EQ(catalog.remove(name), BookCatalog::Outcome::Damaged) << qPrintable(name);
        EXPECT_EQ(catalog.rename(name, QStringLiteral("Presa")), BookCatalog::Outcome::Damaged)
            << qPrintable(name);
    }
    EXPECT_EQ(bookRows(home), QStringList{principale} + damaged);
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("da non toccare"));
    EXPECT_FALSE(QFile::exists(home.path(QStringLiteral("rubriche/Presa"))));
}

// An empty, cut-short, misplaced or table-less book list is reported, never
// taken for an empty one.
TEST(BookCatalogDamage, AnUnreadableBookListIsAnError)
{
    const std::function<void(const QString&)> damages[] = {
        [](const QString& path) { QFile(path).resize(0); },
        [](const QString& path) { QFile(path).resize(1000); },
        [](const QString& path) {
            QFile::remove(path);
            QDir().mkdir(path);
        },
        [](const QString& path) {
            auto db = Database::open(path);
            db->exec("DROP TABLE elenco");
        },
    };
    int index = 0;
    for (const auto& damage : damages) {
        TestHome home;
        damage(home.state.folder.bookList());
        EXPECT_THROW(BookCatalog(home.state).repair(), StoreError) << index++;
    }
}

} // namespace
