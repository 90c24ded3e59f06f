#include "messaging/composerpreset.h"
#include "messaging/smscommands.h"
#include "sending/account.h"
#include "sending/messagearchive.h"
#include "sending/qwirlgateway.h"
#include "sending/recipientnumber.h"
#include "store/storeerror.h"
#include "tests/support/testhome.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

TEST(InternationalNumber, AddsTheItalianPrefixOnlyWhereNoneIsGiven)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"3331112222", u"+393331112222"},
        {u"+393331112222", u"+393331112222"},
        {u"+447700900123", u"+447700900123"},
        {u"00447700900123", u"+447700900123"},
        {u"0039333", u"+39333"},
        {u"0331", u"+390331"},
        {u"", u"+39"},
        {u"333 111", u"+39333 111"},
    };
    for (const auto& [typed, sent] : cases)
        EXPECT_EQ(internationalNumber(QString::fromUtf16(typed)), QString::fromUtf16(sent));
}

TEST(GatewayHosts, AMalformedHostIsSaidAndNothingIsSent)
{
    qputenv("QWIRL_SEND_HOST", "http://127.0.0.1:8080");
    const QString problem = gatewayHostProblem();
    QwirlGateway gateway;
    qunsetenv("QWIRL_SEND_HOST");
    EXPECT_TRUE(problem.contains(u"QWIRL_SEND_HOST \"http://127.0.0.1:8080\"")) << problem.toStdString();
    EXPECT_TRUE(problem.endsWith(u": nessun SMS sarà inviato.")) << problem.toStdString();
    gateway.setLogin(QStringLiteral("demo"));
    gateway.setPassword(QStringLiteral("demo"));
    EXPECT_EQ(gateway.checkCredits(), -1);
    EXPECT_EQ(gateway.send(QStringLiteral("+393331234567"), QStringLiteral("x")), 12005);

    qputenv("QWIRL_NOTIFY_HOST", "127.0.0.1:8080");
    EXPECT_TRUE(gatewayHostProblem().isEmpty());
    qunsetenv("QWIRL_NOTIFY_HOST");
}

TEST(AccountFile, RoundTripsInAFileOnlyItsOwnerReads)
{
    TestHome home;
    EXPECT_FALSE(Account::load(home.state.folder).usable());

    const Account account{QStringLiteral("studio rossi"), QStringLiteral("pàss;word"), 3};
    ASSERT_TRUE(account.save(home.state.folder));
    EXPECT_EQ(Account::load(home.state.folder), account);
    EXPECT_EQ(QFile::permissions(home.path(QStringLiteral("account"))),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    QFile file(home.path(QStringLiteral("account")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("studio rossi\r\np\xc3\xa0ss;word\r\n3\r\n"));
}

TEST(AccountFile, UnknownQualityOrMissingLinesReadAsDefaults)
{
    TestHome home;
    home.writeFile(QStringLiteral("account"),
                   {QStringLiteral("demo"), QStringLiteral("pw"), QStringLiteral("7")});
    EXPECT_EQ(Account::load(home.state.folder), (Account{QStringLiteral("demo"), QStringLiteral("pw"), 2}));
    home.writeFile(QStringLiteral("account"), {QStringLiteral("demo")});
    const Account loginOnly = Account::load(home.state.folder);
    EXPECT_EQ(loginOnly, (Account{QStringLiteral("demo"), QString(), 2}));
    EXPECT_FALSE(loginOnly.usable());
}

TEST(ComposerPresets, SavedMessageWithASemicolonIsAList)
{
    const ComposerPreset list =
        ComposerPreset::saved(QStringLiteral("333;444"), QStringLiteral("<lista>"), QStringLiteral("ciao"));
    EXPECT_EQ(list.mode, ComposerPreset::Mode::Multiple);
    EXPECT_EQ(list.recipients, (QStringList{QStringLiteral("333"), QStringLiteral("444")}));
    EXPECT_EQ(list.recipientString, QStringLiteral("333;444"));
    EXPECT_EQ(list.text, QStringLiteral("ciao"));

    const ComposerPreset one =
        ComposerPreset::saved(QStringLiteral("333"), QStringLiteral("Rossi"), QStringLiteral("x"));
    EXPECT_EQ(one.mode, ComposerPreset::Mode::Single);
    EXPECT_TRUE(one.recipients.isEmpty());

    const ComposerPreset ticked = ComposerPreset::multiple({QStringLiteral("333"), QString()});
    EXPECT_EQ(ticked.recipientString, QStringLiteral("333;;"));
    EXPECT_EQ(ticked.recipients, (QStringList{QStringLiteral("333"), QString()}));
}

TEST(SingleSmsCommand, LastTickedRowWinsAndNoTickTakesTheSelectedRow)
{
    const ListRowValues selected{
        QStringLiteral("300"), QStringLiteral("Cliccato"), QStringLiteral("mail@x.it"), {}};
    ComposerPreset preset = singleSendPreset({}, selected);
    EXPECT_EQ(preset.recipientString, QStringLiteral("300"));
    EXPECT_EQ(preset.surname, QStringLiteral("Cliccato"));

    preset = singleSendPreset({{QStringLiteral("311"), QStringLiteral("Primo"), {}, {}},
                               {QStringLiteral("322"), QStringLiteral("Secondo"), {}, {}}},
                              selected);
    EXPECT_EQ(preset.mode, ComposerPreset::Mode::Single);
    EXPECT_EQ(preset.recipientString, QStringLiteral("322"));
    EXPECT_EQ(preset.surname, QStringLiteral("Secondo"));
    EXPECT_TRUE(preset.text.isEmpty());
}

TEST(MultipleSmsCommand, RefusesAnythingButAnAddressBook)
{
    TestHome home;
    AppContext context = home.context();
    home.dialogs.expectMessage(QStringLiteral("selezionare un Archivio Valido"), MessageIcon::Critical);
    EXPECT_FALSE(multipleSendPreset(context, QStringLiteral("s1"), {QStringLiteral("333")}).has_value());

    const auto preset =
        multipleSendPreset(context, QStringLiteral("r2"), {QStringLiteral("333"), QStringLiteral("444")});
    ASSERT_TRUE(preset.has_value());
    EXPECT_EQ(preset->mode, ComposerPreset::Mode::Multiple);
    EXPECT_EQ(preset->recipientString, QStringLiteral("333;444;"));
}

TEST(MessageArchive, BooksThatReceiveRecords)
{
    struct Case
    {
        const char16_t* key;
        const char16_t* sentBook;
        const char16_t* savedBook;
    };
    for (const Case& c : {Case{u"r2", u"Casa", u"Casa"}, Case{u"i2", u"Principale", u"Casa"},
                          Case{u"s2", u"Principale", u"Casa"}, Case{u"a3", u"Principale", u"Principale"}}) {
        const ArchiveNode node{QString::fromUtf16(c.key), QStringLiteral("Casa")};
        EXPECT_EQ(sentRecordBook(node), QString::fromUtf16(c.sentBook)) << node.key.toStdString();
        EXPECT_EQ(savedRecordBook(node), QString::fromUtf16(c.savedBook)) << node.key.toStdString();
    }
}

TEST(MessageArchive, AppendsADatedRow)
{
    TestHome home;
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Casa")});
    appendMessage(home.state, home.clock, QStringLiteral("Casa"), QStringLiteral("inviati"),
                  {QStringLiteral("<lista>"), QStringLiteral("333;444"), QStringLiteral("Ciao\r\na tutti")});
    EXPECT_EQ(home.rows(home.state.folder.bookPath(QStringLiteral("Casa")), QStringLiteral("inviati")),
              QStringList{QStringLiteral("<lista>|333;444|14/03/2026 09:26:53|Ciao\r\na tutti")});

    EXPECT_THROW(
        appendMessage(home.state, home.clock, QStringLiteral("Sparita"), QStringLiteral("inviati"), {}),
        StoreError);
}

} // namespace
