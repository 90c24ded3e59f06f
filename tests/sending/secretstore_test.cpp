#include "core/textfile.h"
#include "sending/account.h"
#include "sending/secretstore.h"
#include "tests/support/testhome.h"

#include <QFile>
#include <QHash>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

// A keyring in memory that can be switched off, as when no Secret Service runs.
class FakeSecretStore : public SecretStore
{
public:
    bool working = true;
    QHash<QString, QString> secrets;

    Lookup read(const QString& key) override
    {
        if (!working)
            return {};
        if (!secrets.contains(key))
            return {Lookup::Status::Missing, {}};
        return {Lookup::Status::Found, secrets.value(key)};
    }
    bool write(const QString& key, const QString& secret) override
    {
        if (working)
            secrets.insert(key, secret);
        return working;
    }
    bool remove(const QString& key) override
    {
        if (working)
            secrets.remove(key);
        return working;
    }
};

using Secrets = QHash<QString, QString>;

struct LoadCase
{
    const char* what;
    QStringList fileBefore;
    bool storeWorks;
    Secrets storeBefore;
    Account loaded;
    QStringList fileAfter;
    Secrets storeAfter;
};

TEST(AccountSecretStore, LoadMovesThePasswordIntoTheStoreOnceItAnswers)
{
    const QString key = Account::secretKey(QStringLiteral("studio"));
    const Account studio{QStringLiteral("studio"), QStringLiteral("segreta"), 3};
    const LoadCase cases[] = {
        {"legacy file, store answers: moved, file keeps no password",
         {QStringLiteral("studio"), QStringLiteral("segreta"), QStringLiteral("3")},
         true,
         {},
         studio,
         {QStringLiteral("studio"), QString(), QStringLiteral("3")},
         {{key, QStringLiteral("segreta")}}},
        {"legacy file, no store service: the file stays the fallback",
         {QStringLiteral("studio"), QStringLiteral("segreta"), QStringLiteral("3")},
         false,
         {},
         studio,
         {QStringLiteral("studio"), QStringLiteral("segreta"), QStringLiteral("3")},
         {}},
        {"already moved: the password comes from the store",
         {QStringLiteral("studio"), QString(), QStringLiteral("3")},
         true,
         {{key, QStringLiteral("segreta")}},
         studio,
         {QStringLiteral("studio"), QString(), QStringLiteral("3")},
         {{key, QStringLiteral("segreta")}}},
        {"already moved, store gone: no password, nothing lost",
         {QStringLiteral("studio"), QString(), QStringLiteral("3")},
         false,
         {{key, QStringLiteral("segreta")}},
         {QStringLiteral("studio"), QString(), 3},
         {QStringLiteral("studio"), QString(), QStringLiteral("3")},
         {{key, QStringLiteral("segreta")}}},
        {"file password wins over an older one in the store",
         {QStringLiteral("studio"), QStringLiteral("segreta"), QStringLiteral("3")},
         true,
         {{key, QStringLiteral("vecchia")}},
         studio,
         {QStringLiteral("studio"), QString(), QStringLiteral("3")},
         {{key, QStringLiteral("segreta")}}},
        {"no login: nothing to key the password by, the file is left alone",
         {QString(), QStringLiteral("segreta"), QStringLiteral("2")},
         true,
         {},
         {QString(), QStringLiteral("segreta"), 2},
         {QString(), QStringLiteral("segreta"), QStringLiteral("2")},
         {}},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        TestHome home;
        home.writeFile(Account::fileName(), c.fileBefore);
        FakeSecretStore store;
        store.secrets = c.storeBefore;
        store.working = c.storeWorks;
        EXPECT_EQ(Account::load(home.state.folder, &store), c.loaded);
        EXPECT_EQ(textfile::readLines(home.path(Account::fileName())), c.fileAfter);
        EXPECT_EQ(store.secrets, c.storeAfter);
        // A second start finds the same account.
        EXPECT_EQ(Account::load(home.state.folder, &store), c.loaded);
    }
}

struct SaveCase
{
    const char* what;
    bool useStore;
    bool storeWorks;
    Account saved;
    QStringList file;
    Secrets store;
};

TEST(AccountSecretStore, SaveKeepsThePasswordInTheStoreOrElseInTheSecretFile)
{
    const QString key = Account::secretKey(QStringLiteral("studio"));
    const SaveCase cases[] = {
        {"no store at all",
         false,
         false,
         {QStringLiteral("studio"), QStringLiteral("pw"), 1},
         {QStringLiteral("studio"), QStringLiteral("pw"), QStringLiteral("1")},
         {{key, QStringLiteral("old")}}},
        {"store answers",
         true,
         true,
         {QStringLiteral("studio"), QStringLiteral("pw"), 1},
         {QStringLiteral("studio"), QString(), QStringLiteral("1")},
         {{key, QStringLiteral("pw")}}},
        {"store does not answer",
         true,
         false,
         {QStringLiteral("studio"), QStringLiteral("pw"), 1},
         {QStringLiteral("studio"), QStringLiteral("pw"), QStringLiteral("1")},
         {{key, QStringLiteral("old")}}},
        {"emptied password leaves none behind",
         true,
         true,
         {QStringLiteral("studio"), QString(), 2},
         {QStringLiteral("studio"), QString(), QStringLiteral("2")},
         {}},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        TestHome home;
        FakeSecretStore store;
        store.secrets = {{key, QStringLiteral("old")}};
        store.working = c.storeWorks;
        SecretStore* used = c.useStore ? &store : nullptr;
        ASSERT_TRUE(c.saved.save(home.state.folder, used));
        EXPECT_EQ(textfile::readLines(home.path(Account::fileName())), c.file);
        EXPECT_EQ(QFile::permissions(home.path(Account::fileName())) & (QFile::ReadOther | QFile::ReadGroup),
                  QFile::Permissions());
        EXPECT_EQ(store.secrets, c.store);
        EXPECT_EQ(Account::load(home.state.folder, used), c.saved);
    }
}

TEST(AccountSecretStore, TheProgramWideStoreServesEveryReader)
{
    TestHome home;
    FakeSecretStore store;
    Account::setSecretStore(&store);
    const Account saved{QStringLiteral("studio"), QStringLiteral("segreta"), 2};
    const bool written = saved.save(home.state.folder);
    const Account loaded = Account::load(home.state.folder);
    Account::setSecretStore(nullptr);
    ASSERT_TRUE(written);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(store.secrets.value(Account::secretKey(QStringLiteral("studio"))), QStringLiteral("segreta"));
    EXPECT_EQ(Account::load(home.state.folder).password, QString());
}

} // namespace
