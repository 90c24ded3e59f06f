// Books on a shared database: seats are program states on data folders whose
// "archivio" names the same database.
#include "contacts/bookcatalog.h"
#include "contacts/contactstore.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "store/bookstorage.h"
#include "store/store.h"
#include "tests/store/storehome.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace parlix;
using Outcome = BookCatalog::Outcome;

namespace {

class SharedBooksTest : public ::testing::Test
{
protected:
    // A seat of its own: its own data folder and connection.
    std::unique_ptr<ProgramState> seat()
    {
        const QString root = dir.filePath(QString::number(++seats));
        EXPECT_TRUE(QDir().mkpath(root));
        EXPECT_TRUE(textfile::writeLines(root + QStringLiteral("/archivio"), {database.address}));
        return std::make_unique<ProgramState>(DataFolder(root));
    }

    test::StoreHome database{test::Backend::Postgres};
    QTemporaryDir dir;
    int seats = 0;
};

TEST_F(SharedBooksTest, TwoSeatsCreatingTheSameNameAtOnceOneWinsTheOtherIsToldItExists)
{
    const auto a = seat();
    const auto b = seat();
    for (const QString& name : {QStringLiteral("Casa"), QStringLiteral("Lavoro"), QStringLiteral("Perché")}) {
        Outcome first = Outcome::Empty;
        Outcome second = Outcome::Empty;
        std::thread one([&] { first = BookCatalog(*a).create(name); });
        std::thread two([&] { second = BookCatalog(*b).create(name.toUpper()); });
        one.join();
        two.join();
        EXPECT_EQ(std::min(first, second), Outcome::Done) << name.toStdString();
        EXPECT_EQ(std::max(first, second), Outcome::Exists) << name.toStdString();
    }
    EXPECT_EQ(BookCatalog(*b).names().size(), 4);
}

TEST_F(SharedBooksTest, RenameAndDeleteAreSeenByTheOtherSeatWithTheContacts)
{
    const auto a = seat();
    const auto b = seat();
    ASSERT_EQ(BookCatalog(*a).create(QStringLiteral("Casa")), Outcome::Done);
    ContactStore(*a).add(QStringLiteral("Casa"),
                         {QStringLiteral("Anna"), QStringLiteral("D'Amico"), QStringLiteral("3331"),
                          QStringLiteral(" "), QStringLiteral("4")});
    const QString renamed = QStringLiteral("D'Angelo \"è\" qui");
    EXPECT_EQ(BookCatalog(*b).rename(QStringLiteral("Casa"), renamed), Outcome::Done);
    EXPECT_EQ(BookCatalog(*a).names(), QStringList({QStringLiteral("Principale"), renamed}));
    const auto found = ContactStore(*a).find(renamed, 1);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->cognome, QStringLiteral("D'Amico"));
    EXPECT_EQ(BookCatalog(*a).rename(renamed, QStringLiteral("PRINCIPALE")), Outcome::Exists);

    EXPECT_EQ(BookCatalog(*a).remove(renamed), Outcome::Done);
    EXPECT_EQ(BookCatalog(*b).names(), QStringList{QStringLiteral("Principale")});
    EXPECT_FALSE(b->store->books().exists(renamed));
    EXPECT_EQ(BookCatalog(*b).remove(renamed), Outcome::NoSuchBook);
}

TEST_F(SharedBooksTest, NamesTheDatabaseCannotHoldAreRefusedWithTheirReason)
{
    const auto a = seat();
    BookCatalog catalog(*a);
    const struct
    {
        QString name;
        const char* reason;
    } rows[] = {
        {QString(64, u'x'), "non può superare i 63 byte"},
        {QString(32, u'è'), "non può superare i 63 byte"},
        {QStringLiteral("public"), "è riservato"},
        {QStringLiteral("pg_catalogo"), "è riservato"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(catalog.create(row.name), Outcome::InvalidName) << row.name.toStdString();
        EXPECT_TRUE(catalog.nameProblem(row.name).value_or(QString()).contains(QString::fromUtf8(row.reason)))
            << row.name.toStdString();
    }
    EXPECT_EQ(catalog.create(QString(63, u'x')), Outcome::Done);
    EXPECT_EQ(catalog.rename(QString(63, u'x'), QStringLiteral("public")), Outcome::InvalidName);
}

} // namespace
