#include "tests/support/fulldisk.h"
#include "tests/support/testhome.h"
#include "tests/users/accountsupport.h"
#include "users/accesslevel.h"
#include "users/scrambling.h"
#include "users/useraccounts.h"
#include "users/usermessages.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::fileBytes;
using parlix::test::storedFile;
using parlix::test::TestHome;

namespace {

UserAccount account(const char* name, const char* password, const char* level)
{
    return {QString::fromUtf8(name), QString::fromUtf8(password), QString::fromUtf8(level)};
}

QByteArray bytesOf(std::initializer_list<int> codes)
{
    QByteArray bytes;
    for (const int code : codes)
        bytes += static_cast<char>(code);
    return bytes;
}

TEST(Scrambling, TheFirstByteMovesByTheLengthTheOthersByTheirPosition)
{
    const QByteArray stored = bytesOf({97 + 6, 98 + 2, 44 + 3, 99 + 4, 44 + 5, 49 + 6});
    EXPECT_EQ(scrambling::scramble("ab,c,1"), stored);
    EXPECT_EQ(scrambling::unscramble(stored), QByteArray("ab,c,1"));
    EXPECT_EQ(userrecord::read(stored), account("ab", "c", "1"));

    EXPECT_EQ(scrambling::scramble(QByteArray()), QByteArray());
    EXPECT_EQ(scrambling::scramble(bytesOf({253, 253})), bytesOf({255, 255}));
    EXPECT_EQ(scrambling::scramble(bytesOf({253, 254})), std::nullopt);
    EXPECT_EQ(scrambling::scramble(bytesOf({254, 1})), std::nullopt);
    EXPECT_EQ(scrambling::scramble(QByteArray(256, ' ')), std::nullopt);
    EXPECT_EQ(scrambling::unscramble(bytesOf({1, 1})), std::nullopt);
    EXPECT_EQ(scrambling::unscramble(bytesOf({2, 2})), QByteArray(2, '\0'));
}

// Every printable Windows-1252 character, at every position of the name where
// its scrambled code still fits in a byte, comes back unchanged; where it does
// not fit, the record is refused. The other characters always fit.
TEST(UserRecord, EveryPrintableCharacterRoundTripsWhereverItFits)
{
    QStringDecoder decoder("windows-1252");
    ASSERT_TRUE(decoder.isValid());
    int roundTrips = 0;
    int refusals = 0;
    for (int code = 0x20; code <= 0xFF; ++code) {
        if (code == ',' || code == 0x7F || code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 ||
            code == 0x9D)
            continue;
        const QString character = decoder.decode(QByteArray(1, static_cast<char>(code)));
        for (int position = 1; position <= 196; ++position) {
            UserAccount plain{QString(position - 1, u' ') + character, QStringLiteral("!"), QString()};
            const int length = position + 3; // name, ",!,"
            const int shifted = code + (position == 1 ? length : position);
            const StoredLine stored = userrecord::store(plain);
            if (shifted <= 255) {
                ASSERT_TRUE(stored.ok()) << code << " at " << position;
                ASSERT_EQ(static_cast<unsigned char>(stored.line.at(position - 1)), shifted);
                ASSERT_EQ(userrecord::read(stored.line), plain) << code << " at " << position;
                ++roundTrips;
            } else {
                ASSERT_EQ(stored.refusal, usermessages::tooLongRefused()) << code << " at " << position;
                ++refusals;
            }
        }
    }
    EXPECT_GT(roundTrips, 20000);
    EXPECT_GT(refusals, 10000);
}

TEST(UserRecord, RefusesWhatTheFileCannotHold)
{
    const struct Row
    {
        UserAccount account;
        QString refusal;
    } rows[] = {
        {account("a,b", "x", "1"), usermessages::separatorRefused()},
        {account("ab", "x,y", "1"), usermessages::separatorRefused()},
        {account("a\rb", "x", "1"), usermessages::separatorRefused()},
        {account("ab", "x\n", "1"), usermessages::separatorRefused()},
        // A tab is harmless in itself but would be scrambled into a line break.
        {account("ab\t", "x", "1"), usermessages::separatorRefused()},
        {account("Łukasz", "x", "1"), usermessages::characterRefused(QStringLiteral("Ł"))},
        {account("ab", "x😀", "1"), usermessages::characterRefused(QStringLiteral("😀"))},
        {{QString(200, u'z'), QStringLiteral("x"), QStringLiteral("1")}, usermessages::tooLongRefused()},
        {account("José", "€uro", ""), {}},
        {account(" spazi ", " e ", "4"), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.account.name.toStdString());
        const StoredLine stored = userrecord::store(row.account);
        EXPECT_EQ(stored.refusal, row.refusal);
        EXPECT_EQ(stored.line.isEmpty(), !row.refusal.isEmpty());
    }
}

TEST(AccountFile, ReadsAWindowsFileAndKeepsDamagedLinesAside)
{
    TestHome home;
    const QString path = home.path(QStringLiteral("tempaccesso"));
    // "é,x,1" in Windows-1252 (0xE9), scrambled; not valid UTF-8.
    const QByteArray windows = bytesOf({0xE9 + 5, ',' + 2, 'x' + 3, ',' + 4, '1' + 5});
    const QByteArray belowZero = bytesOf({1, 1, 1});
    const QByteArray twoFields = *scrambling::scramble("solo,nome");
    test::writeBytes(path, windows + "\r\n" + belowZero + "\r\n\r\n" + twoFields + "\n" +
                               *scrambling::scramble("ab,c,1,extra") + "\r\n");

    UserAccounts accounts(home.state.folder);
    EXPECT_EQ(accounts.load(), AccountFile::Status::Read);
    EXPECT_EQ(accounts.names(), (QStringList{QStringLiteral("é"), QStringLiteral("ab")}));
    EXPECT_EQ(accounts.at(1), account("ab", "c", "1"));
    EXPECT_EQ(accounts.damaged(), 2);
    EXPECT_TRUE(accounts.matches(QStringLiteral("é"), QStringLiteral("x")));

    // A change rewrites the accounts in list order, the damaged lines after them.
    ASSERT_EQ(accounts.remove(1), std::nullopt);
    EXPECT_EQ(fileBytes(path), windows + "\r\n" + belowZero + "\r\n" + twoFields + "\r\n");
}

TEST(UserAccounts, AddAppendsChangeKeepsThePlaceRemoveClosesTheGap)
{
    TestHome home;
    const QString path = home.path(QStringLiteral("tempaccesso"));
    UserAccounts accounts(home.state.folder);
    EXPECT_EQ(accounts.load(), AccountFile::Status::Missing);
    EXPECT_EQ(accounts.count(), 0);

    const UserAccount anna = account("anna", "uno", "1");
    const UserAccount bruno = account("bruno", "due", "2");
    const UserAccount carla = account("carla", "tre", "3");
    for (const UserAccount& next : {anna, bruno, carla})
        ASSERT_EQ(accounts.add(next), std::nullopt);
    EXPECT_EQ(fileBytes(path), storedFile({anna, bruno, carla}));
    EXPECT_EQ(QFileInfo(path).permissions(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadUser | QFileDevice::WriteUser);

    // Case matters: "Anna" is another user.
    ASSERT_EQ(accounts.add(account("Anna", "quattro", "4")), std::nullopt);
    EXPECT_EQ(accounts.add(account("anna", "altra", "2")), usermessages::existingUser());

    // A change may take a name another account has.
    const UserAccount renamed = account("anna", "nuova", "");
    ASSERT_EQ(accounts.change(1, renamed), std::nullopt);
    EXPECT_EQ(fileBytes(path), storedFile({anna, renamed, carla, account("Anna", "quattro", "4")}));

    ASSERT_EQ(accounts.remove(0), std::nullopt);
    EXPECT_EQ(fileBytes(path), storedFile({renamed, carla, account("Anna", "quattro", "4")}));
    EXPECT_EQ(accounts.indexOf(QStringLiteral("anna")), 0);

    // What is refused leaves the file alone.
    const QByteArray before = fileBytes(path);
    EXPECT_EQ(accounts.add(account("x,y", "z", "1")), usermessages::separatorRefused());
    EXPECT_EQ(accounts.change(0, account("ok", "Ł", "1")),
              usermessages::characterRefused(QStringLiteral("Ł")));
    EXPECT_EQ(accounts.remove(3), usermessages::noUsers());
    EXPECT_EQ(fileBytes(path), before);

    UserAccounts reread(home.state.folder);
    reread.load();
    EXPECT_EQ(reread.names(), accounts.names());
}

TEST(UserAccounts, TheThousandAndSecondAccountIsRefused)
{
    TestHome home;
    std::vector<UserAccount> many;
    for (int i = 0; i < UserAccounts::kMaximum; ++i)
        many.push_back({QStringLiteral("u%1").arg(i), QStringLiteral("p"), QStringLiteral("3")});
    test::writeBytes(home.path(QStringLiteral("tempaccesso")), storedFile(many));
    UserAccounts accounts(home.state.folder);
    accounts.load();
    ASSERT_EQ(accounts.count(), 1001);
    EXPECT_EQ(accounts.add(account("ultimo", "p", "1")), usermessages::tooManyUsers());
    ASSERT_EQ(accounts.remove(0), std::nullopt);
    EXPECT_EQ(accounts.add(account("ultimo", "p", "1")), std::nullopt);
}

TEST(UserAccounts, AFailedWriteKeepsTheOldFileAndIsReported)
{
    TestHome home;
    const QString path = home.path(QStringLiteral("tempaccesso"));
    UserAccounts accounts(home.state.folder);
    accounts.load();
    ASSERT_EQ(accounts.add(account("anna", "uno", "1")), std::nullopt);
    ASSERT_EQ(accounts.add(account("bruno", "due", "2")), std::nullopt);
    const QByteArray before = fileBytes(path);
    const QString refused = usermessages::unwritableFile(path, QString());
    {
        const test::FullDisk full(8);
        const auto added = accounts.add(account("carla", "tre", "3"));
        ASSERT_TRUE(added.has_value());
        EXPECT_TRUE(added->startsWith(refused) && added->size() > refused.size()) << added->toStdString();
        const auto removed = accounts.remove(0);
        ASSERT_TRUE(removed.has_value());
        EXPECT_TRUE(removed->startsWith(refused)) << removed->toStdString();
    }
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(accounts.names(), (QStringList{QStringLiteral("anna"), QStringLiteral("bruno")}));
    EXPECT_EQ(QDir(home.state.folder.root())
                  .entryList(QDir::Hidden | QDir::Files)
                  .filter(QStringLiteral("tempaccesso")),
              QStringList{QStringLiteral("tempaccesso")});
}

TEST(UserAccounts, AnUnreadableFileIsNeverReplaced)
{
    TestHome home;
    const QString path = home.path(QStringLiteral("tempaccesso"));
    ASSERT_TRUE(QDir().mkdir(path)); // a folder where the file should be
    UserAccounts accounts(home.state.folder);
    EXPECT_EQ(accounts.load(), AccountFile::Status::Unreadable);
    EXPECT_EQ(accounts.add(account("anna", "uno", "1")), usermessages::unreadableFile(path));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(AccessLevel, NamesCodesAndCaptions)
{
    const struct Row
    {
        const char* text;
        const char* codeOfName;
        const char* codeOfArgument;
        const char* caption; // of the text taken as a code
    } rows[] = {
        {"Administrator", "1", "1", ""},
        {"Power User", "2", "2", ""},
        {"User", "3", "3", ""},
        {"Guest", "4", "4", ""},
        {"guest", "", "4", ""},
        {"1", "", "1", " Administrator"},
        {"2", "", "2", " Power User"},
        {"3", "", "3", " User"},
        {"4", "", "4", " Guest"},
        {"5", "", "", ""},
        {"", "", "", ""},
        {"Admin", "", "", ""},
    };
    for (const Row& row : rows) {
        const QString text = QString::fromUtf8(row.text);
        SCOPED_TRACE(row.text);
        EXPECT_EQ(accesslevel::codeOfName(text), QString::fromUtf8(row.codeOfName));
        EXPECT_EQ(accesslevel::codeOfArgument(text), QString::fromUtf8(row.codeOfArgument));
        EXPECT_EQ(accesslevel::captionOfCode(text), QString::fromUtf8(row.caption));
    }
}

} // namespace
