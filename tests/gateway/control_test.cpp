#include "recording_transport.h"

#include "qwirl/control.h"
#include "qwirl/result_codes.h"
#include "qwirl/ticket.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using qwirl::Control;
using qwirl::Hosts;
using qwirl::testing::RecordingTransport;
using Exchanges = std::vector<RecordingTransport::Exchange>;
using OptText = std::optional<std::string_view>;

class QwirlControlTest : public ::testing::Test
{
protected:
    // A control that answers through the recording transport; ready to send unless a test changes it.
    std::unique_ptr<Control> makeControl(int code = 0, std::string answer = "OK\r\n")
    {
        auto control =
            std::make_unique<Control>(Hosts{"send.test", "notify.test", {}},
                                      std::make_unique<RecordingTransport>(exchanges, code, answer));
        control->setLogin("maria");
        control->setPassword("s3gr3t0");
        return control;
    }

    Exchanges exchanges;
};

TEST_F(QwirlControlTest, StartsWithTheDocumentedDefaults)
{
    const Control control(Hosts::both("127.0.0.1:1"));
    EXPECT_FALSE(control.Flash());
    EXPECT_EQ(control.Quality(), 2);
    for (const std::string* value :
         {&control.password(), &control.login(), &control.Sender(), &control.ProxyAddress(),
          &control.ProxyLogin(), &control.ProxyPassword()}) {
        EXPECT_EQ(*value, "");
    }
}

TEST_F(QwirlControlTest, SendChecksItsArgumentsInOrderAndSendsNothingWhenOneFails)
{
    const struct
    {
        const char* name;
        OptText number;
        OptText text;
        const char* login;
        const char* password;
        short quality;
        long expected;
    } cases[] = {
        {"absent number first", std::nullopt, std::nullopt, "", "", 0, 3},
        {"empty number", "", "x", "u", "p", 2, 3},
        {"no plus", "393331234567", "x", "u", "p", 2, 3},
        {"blank inside", "+39 3331234567", "x", "u", "p", 2, 3},
        {"hyphen inside", "+39-3331234567", "x", "u", "p", 2, 3},
        {"letter inside", "+3933312345a7", "x", "u", "p", 2, 3},
        {"absent text before login", "+393331234567", std::nullopt, "", "", 0, 4},
        {"empty login before password", "+393331234567", "", "", "", 0, 5},
        {"empty password before quality", "+393331234567", "", "u", "", 0, 6},
        {"quality 0", "+393331234567", "", "u", "p", 0, 15},
        {"quality 4", "+393331234567", "", "u", "p", 4, 15},
        {"quality -1", "+393331234567", "", "u", "p", -1, 15},
    };
    for (const auto& c : cases) {
        auto control = makeControl();
        control->setLogin(c.login);
        control->setPassword(c.password);
        control->setQuality(c.quality);
        control->setSender("Fourteen chars");
        EXPECT_EQ(control->Send(c.number, c.text), c.expected) << c.name;
        EXPECT_EQ(control->Sender(), "Fourteen chars") << c.name;
    }
    EXPECT_TRUE(exchanges.empty());
}

TEST_F(QwirlControlTest, SendNotifyChecksMessageIdAfterPasswordAndQualityLast)
{
    const struct
    {
        const char* name;
        OptText number;
        OptText text;
        const char* password;
        OptText messageId;
        short quality;
        long expected;
    } cases[] = {
        {"bad number first", "39", std::nullopt, "", std::nullopt, 3, 3},
        {"absent text", "+39", std::nullopt, "", std::nullopt, 3, 4},
        {"empty password before id", "+39", "t", "", std::nullopt, 3, 6},
        {"absent id", "+39", "t", "p", std::nullopt, 3, 14},
        {"empty id", "+39", "t", "p", "", 2, 14},
        {"21 digits", "+39", "t", "p", "123456789012345678901", 2, 14},
        {"letter in id", "+39", "t", "p", "12a4", 2, 14},
        {"signed id", "+39", "t", "p", "-12", 2, 14},
        {"quality 3 is not for notify", "+39", "t", "p", "12345678901234567890", 3, 15},
        {"quality 0", "+39", "t", "p", "1", 0, 15},
    };
    for (const auto& c : cases) {
        auto control = makeControl();
        control->setPassword(c.password);
        control->setQuality(c.quality);
        EXPECT_EQ(control->SendNotify(c.number, c.text, c.messageId), c.expected) << c.name;
    }
    EXPECT_TRUE(exchanges.empty());
}

TEST_F(QwirlControlTest, CheckCreditsWithoutLoginOrPasswordSendsNothing)
{
    auto control = makeControl(0, "OK 100\r\n");
    control->setLogin("");
    EXPECT_EQ(control->CheckCredits(), -1);
    control->setLogin("maria");
    control->setPassword("");
    EXPECT_EQ(control->CheckCredits(), -1);
    EXPECT_TRUE(exchanges.empty());
}

TEST_F(QwirlControlTest, SendPostsTheWholeBodyToTheSendHost)
{
    auto control = makeControl();
    control->setSender("Parlix Srl");
    EXPECT_EQ(control->Send("+393331234567", "Ciao, tutto bene? Perché no!"), 0);
    ASSERT_EQ(exchanges.size(), 1U);
    EXPECT_EQ(exchanges[0].body, "ticket=69f0610155d25de3381dd0869b995c10&operation=TEXT"
                                 "&data=Ciao%2C+tutto+bene%3F+Perch%E9+no%21&id=maria&rcpt=%2B393331234567"
                                 "&from=Parlix+Srl&qty=l");
    EXPECT_EQ(exchanges[0].path, "/sms-gw/sendsmart");
    EXPECT_EQ(exchanges[0].host, "send.test");
}

TEST_F(QwirlControlTest, FlashQualityAndEmptyValuesShapeTheBody)
{
    auto control = makeControl();
    control->setFlash(true);
    control->setQuality(3);
    control->setSender("Parlix");
    EXPECT_EQ(control->Send("+393331234567", "Ciao"), 0);
    control->setFlash(false);
    control->setQuality(1);
    control->setSender("");
    EXPECT_EQ(control->Send("+", ""), 0);
    ASSERT_EQ(exchanges.size(), 2U);
    EXPECT_EQ(exchanges[0].body, "ticket=202c66f2d7cd55668eb68272ab926fca&operation=FLASH&data=Ciao&id=maria"
                                 "&rcpt=%2B393331234567&from=Parlix&qty=ll");
    EXPECT_EQ(exchanges[1].body, "ticket=" + qwirl::Ticket::compute("mariaTEXT+s3gr3t0") +
                                     "&operation=TEXT&data=&id=maria&rcpt=%2B&from=&qty=h");
}

TEST_F(QwirlControlTest, SendNotifyAddsTheMessageIdOutsideTheTicketAndUsesTheNotifyHost)
{
    auto control = makeControl();
    control->setSender("Parlix Srl");
    control->setQuality(1);
    EXPECT_EQ(control->SendNotify("+393331234567", "Ciao, tutto bene? Perché no!", "00123456789012345678"),
              0);
    control->setQuality(2);
    EXPECT_EQ(control->SendNotify("+393331234567", "Ciao, tutto bene? Perché no!", "9"), 0);
    ASSERT_EQ(exchanges.size(), 2U);
    const std::string common = "ticket=69f0610155d25de3381dd0869b995c10&operation=TEXT"
                               "&data=Ciao%2C+tutto+bene%3F+Perch%E9+no%21&id=maria&rcpt=%2B393331234567"
                               "&from=Parlix+Srl";
    EXPECT_EQ(exchanges[0].body, common + "&act=00123456789012345678&qty=h");
    EXPECT_EQ(exchanges[1].body, common + "&act=9&qty=l");
    EXPECT_EQ(exchanges[0].path, "/sms-gw/smartnotify");
    EXPECT_EQ(exchanges[0].host, "notify.test");
}

TEST_F(QwirlControlTest, SenderIsShortenedToElevenCharactersOnceTheChecksPassWhateverTheOutcome)
{
    auto control = makeControl(qwirl::WinInetError::CannotConnect, "");
    control->setSender("Fourteen chars");
    EXPECT_EQ(control->Send("+39333", "x"), qwirl::WinInetError::CannotConnect);
    EXPECT_EQ(control->Sender(), "Fourteen ch");
    ASSERT_EQ(exchanges.size(), 1U);
    EXPECT_EQ(exchanges[0].body, "ticket=" + qwirl::Ticket::compute("mariaTEXT+39333Fourteen chxs3gr3t0") +
                                     "&operation=TEXT&data=x&id=maria&rcpt=%2B39333&from=Fourteen+ch&qty=l");

    // Characters, not bytes: accented letters are one character each.
    control->setSender("Caffè Società");
    control->SendNotify("+39333", "x", "1");
    EXPECT_EQ(control->Sender(), "Caffè Socie");
}

TEST_F(QwirlControlTest, TicketDependsOnEveryMessageFieldAndOnNothingElse)
{
    auto control = makeControl();
    const auto ticketOfLastRequest = [this] { return exchanges.back().body.substr(7, 32); };
    const auto sendAndTicket = [&](auto&& change) {
        auto fresh = makeControl();
        fresh->setSender("Parlix");
        change(*fresh);
        fresh->SendNotify("+39333", "Ciao", "1");
        return ticketOfLastRequest();
    };
    const std::string base = sendAndTicket([](Control&) {});
    EXPECT_NE(sendAndTicket([](Control& c) { c.setLogin("marib"); }), base);
    EXPECT_NE(sendAndTicket([](Control& c) { c.setFlash(true); }), base);
    EXPECT_NE(sendAndTicket([](Control& c) { c.setSender("Parlik"); }), base);
    EXPECT_NE(sendAndTicket([](Control& c) { c.setPassword("s3gr3t1"); }), base);
    EXPECT_EQ(sendAndTicket([](Control& c) { c.setQuality(1); }), base);
    EXPECT_EQ(sendAndTicket([](Control& c) { c.setProxyAddress("proxy:8080"); }), base);

    auto other = makeControl();
    other->setSender("Parlix");
    other->SendNotify("+39334", "Ciao", "1");
    EXPECT_NE(ticketOfLastRequest(), base);
    other->SendNotify("+39333", "Ciap", "1");
    EXPECT_NE(ticketOfLastRequest(), base);
    other->SendNotify("+39333", "Ciao", "99999");
    EXPECT_EQ(ticketOfLastRequest(), base);
}

TEST_F(QwirlControlTest, CheckCreditsPostsTheCreditQueryAndReadsTheCredit)
{
    auto control = makeControl(0, "OK 250\r\n");
    control->setLogin("mario rossi");
    control->setPassword("pw");
    EXPECT_EQ(control->CheckCredits(), 250);
    ASSERT_EQ(exchanges.size(), 1U);
    EXPECT_EQ(exchanges[0].body,
              "ticket=3433c0c9b0be99c68116767976a3d287&operation=GETCREDIT&id=mario rossi");
    EXPECT_EQ(exchanges[0].path, "/sms-gw/sendsmart");
    EXPECT_EQ(exchanges[0].host, "send.test");
}

TEST_F(QwirlControlTest, TransportFailuresPassThroughAndCheckCreditsFoldsThemIntoMinusOne)
{
    for (const int code : {7, 8, 9, 13, 12002, 12007, 12029}) {
        auto control = makeControl(code, "OK 5\r\n");
        EXPECT_EQ(control->Send("+39333", "x"), code);
        EXPECT_EQ(control->SendNotify("+39333", "x", "1"), code);
        EXPECT_EQ(control->CheckCredits(), -1);
    }
}

TEST_F(QwirlControlTest, TheExchangeSeesTheProxyPropertiesAsTheyAreAtThatMoment)
{
    auto control = makeControl();
    control->setProxyAddress("proxy.lan:3128");
    control->setProxyLogin("anna");
    control->setProxyPassword("pass");
    control->Send("+39333", "x");
    control->setProxyAddress("");
    control->CheckCredits();
    ASSERT_EQ(exchanges.size(), 2U);
    EXPECT_EQ(exchanges[0].proxy.address, "proxy.lan:3128");
    EXPECT_EQ(exchanges[0].proxy.login, "anna");
    EXPECT_EQ(exchanges[0].proxy.password, "pass");
    EXPECT_EQ(exchanges[1].proxy.address, "");
}

} // namespace
