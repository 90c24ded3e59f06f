#include "cli/commandline.h"
#include "tests/cli/consolerun.h"
#include "tests/users/accountsupport.h"
#include "users/usermessages.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace parlix;
using namespace parlix::cli;
using parlix::test::fileBytes;
using parlix::test::storedFile;

namespace {

using parlix::test::Outcome;

Outcome runUsers(const QString& home, QStringList arguments, const QString& input = {})
{
    arguments.prepend(QStringLiteral("users"));
    arguments.prepend(home);
    arguments.prepend(QStringLiteral("--home"));
    return parlix::test::runLine(arguments, input);
}

// Each row runs after the ones above it, on the same data folder.
TEST(UsersCommand, EachSubcommandAndItsExitStatus)
{
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/dati");
    const QString s = QStringLiteral("segreta\n");
    const struct Row
    {
        QStringList arguments;
        QString input;
        int status;
        QString out;
        QString errPart;
    } rows[] = {
        {{QStringLiteral("list")}, {}, Done, {}, {}},
        {{QStringLiteral("check"), QStringLiteral("anna")}, s, Mismatch, {}, usermessages::wrongLogin()},
        {{QStringLiteral("add"), QStringLiteral("anna"), QStringLiteral("1")}, s, Done, {}, {}},
        {{QStringLiteral("add"), QStringLiteral("Bruno Rossi"), QStringLiteral("power user")},
         QStringLiteral("due\r\n"),
         Done,
         {},
         {}},
        {{QStringLiteral("add"), QStringLiteral("carla"), QStringLiteral("Guest")},
         QStringLiteral("tre"),
         Done,
         {},
         {}},
        {{QStringLiteral("list")},
         {},
         Done,
         QStringLiteral("anna\tAdministrator\nBruno Rossi\tPower User\ncarla\tGuest\n"),
         {}},
        {{QStringLiteral("check"), QStringLiteral("anna")}, s, Done, {}, {}},
        {{QStringLiteral("check"), QStringLiteral("Bruno Rossi")}, QStringLiteral("due\n"), Done, {}, {}},
        {{QStringLiteral("check"), QStringLiteral("Anna")}, s, Mismatch, {}, usermessages::wrongLogin()},
        {{QStringLiteral("check"), QStringLiteral("anna")}, QStringLiteral("Segreta\n"), Mismatch, {}, {}},
        {{QStringLiteral("check"), QStringLiteral("anna")}, {}, Mismatch, {}, {}},
        {{QStringLiteral("add"), QStringLiteral("anna"), QStringLiteral("2")},
         s,
         Failed,
         {},
         usermessages::existingUser()},
        {{QStringLiteral("add"), QStringLiteral("a,b"), QStringLiteral("2")},
         s,
         Failed,
         {},
         usermessages::separatorRefused()},
        {{QStringLiteral("add"), QStringLiteral("dario"), QStringLiteral("2")},
         {},
         Failed,
         {},
         QStringLiteral("password")},
        {{QStringLiteral("add"), QStringLiteral("dario"), QStringLiteral("5")},
         s,
         Usage,
         {},
         QStringLiteral("Livello sconosciuto")},
        {{QStringLiteral("add"), QStringLiteral("dario")},
         s,
         Usage,
         {},
         QStringLiteral("Uso: parlix-cli users")},
        {{QStringLiteral("remove"), QStringLiteral("nessuno")},
         {},
         Failed,
         {},
         QStringLiteral("Utente non trovato")},
        {{QStringLiteral("remove"), QStringLiteral("Bruno Rossi")}, {}, Done, {}, {}},
        {{QStringLiteral("list")}, {}, Done, QStringLiteral("anna\tAdministrator\ncarla\tGuest\n"), {}},
        {{QStringLiteral("rename"), QStringLiteral("anna")},
         {},
         Usage,
         {},
         QStringLiteral("Uso: parlix-cli users")},
        {{}, {}, Usage, {}, QStringLiteral("Uso: parlix-cli users")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const Outcome outcome = runUsers(home, row.arguments, row.input);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_TRUE(outcome.err.contains(row.errPart)) << outcome.err.toStdString();
    }
    // The same file the forms use.
    const UserAccount anna{QStringLiteral("anna"), QStringLiteral("segreta"), QStringLiteral("1")};
    const UserAccount carla{QStringLiteral("carla"), QStringLiteral("tre"), QStringLiteral("4")};
    EXPECT_EQ(fileBytes(home + QStringLiteral("/tempaccesso")), storedFile({anna, carla}));
    EXPECT_EQ(QFileInfo(home + QStringLiteral("/tempaccesso")).permissions(),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser);
}

TEST(UsersCommand, DamagedEntriesAreReportedAndAnUnreadableFileFails)
{
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/dati");
    ASSERT_EQ(runUsers(home, {QStringLiteral("list")}).status, Done);
    const QString path = home + QStringLiteral("/tempaccesso");
    test::writeBytes(path, "\x01\x01\r\n" + storedFile({{QStringLiteral("anna"), QStringLiteral("x"), {}}}));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const Outcome listed = runUsers(home, {QStringLiteral("list")});
    EXPECT_EQ(listed.status, Done);
    EXPECT_EQ(listed.out, QStringLiteral("anna\t\n"));
    EXPECT_EQ(listed.err, usermessages::damagedEntries(1) + u'\n');

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    const Outcome unreadable = runUsers(
        home, {QStringLiteral("add"), QStringLiteral("b"), QStringLiteral("1")}, QStringLiteral("x\n"));
    EXPECT_EQ(unreadable.status, Failed);
    EXPECT_EQ(unreadable.err, usermessages::unreadableFile(path) + u'\n');
}

} // namespace
