#include "json_fields.h"
#include "sandbox_process.h"

#include "qwirl/control.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using qwirl::Control;
using qwirl::Hosts;
using qwirl::testing::parseJsonLine;
using qwirl::testing::SandboxProcess;
using Fields = std::map<std::string, std::string>;

// The sandbox's log line of an accepted SMS, without its time stamp.
Fields logEntry(const SandboxProcess& sandbox, std::size_t index)
{
    const auto lines = sandbox.logLines();
    if (index >= lines.size()) {
        ADD_FAILURE() << "no SMS " << index << " in the log";
        return {};
    }
    Fields fields = parseJsonLine(lines[index]).value_or(Fields{});
    EXPECT_EQ(fields.erase("time"), 1U);
    return fields;
}

void signIn(Control& control, const std::string& login = "demo", const std::string& password = "demo")
{
    control.setLogin(login);
    control.setPassword(password);
}

TEST(QwirlControlWithSandbox, DeliversAnSmsAndTheSandboxLogsIt)
{
    const SandboxProcess sandbox;
    Control control(Hosts::both(sandbox.host()));
    signIn(control);
    control.setSender("Parlix Demo Sender");
    EXPECT_EQ(control.Send("+393331234567", "Ciao Maria, ci vediamo alle 8!"), 0);
    EXPECT_EQ(logEntry(sandbox, 0), (Fields{{"recipient", "+393331234567"},
                                            {"sender", "Parlix Demo"},
                                            {"type", "TEXT"},
                                            {"quality", "l"},
                                            {"text", "Ciao Maria, ci vediamo alle 8!"}}));
}

TEST(QwirlControlWithSandbox, SendNotifyReachesTheNotifyServiceWithItsIdentifier)
{
    const SandboxProcess sandbox;
    Control control(Hosts::both(sandbox.host()));
    signIn(control);
    control.setFlash(true);
    control.setQuality(1);
    EXPECT_EQ(control.SendNotify("+393331234567", "Avviso", "20240501123456"), 0);
    EXPECT_EQ(logEntry(sandbox, 0), (Fields{{"recipient", "+393331234567"},
                                            {"sender", ""},
                                            {"type", "FLASH"},
                                            {"quality", "h"},
                                            {"text", "Avviso"},
                                            {"message_id", "20240501123456"}}));
    EXPECT_EQ(sandbox.traceLines().size(), 1U);
    EXPECT_EQ(parseJsonLine(sandbox.traceLines()[0])->at("target"), "/sms-gw/smartnotify");
}

TEST(QwirlControlWithSandbox, TextReachesTheGatewayAsWindows1252)
{
    const struct
    {
        std::string text;
        std::string logged;
    } cases[] = {
        {"Perché è già così più tardi", "Perché è già così più tardi"},
        {"Totale: 12,50 € – “grazie”", "Totale: 12,50 € – “grazie”"},
        {"Ω e 😀 e 中文", "? e ? e ??"},
        {"riga 1\nriga 2", "riga 1\nriga 2"},
    };
    const SandboxProcess sandbox;
    Control control(Hosts::both(sandbox.host()));
    signIn(control);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(control.Send("+39333", cases[i].text), 0) << cases[i].text;
        EXPECT_EQ(logEntry(sandbox, i).at("text"), cases[i].logged);
    }
}

TEST(QwirlControlWithSandbox, CreditFallsByOnePerAcceptedSmsAndRunsOut)
{
    const SandboxProcess sandbox({"--credit", "2"});
    Control control(Hosts::both(sandbox.host()));
    signIn(control);
    EXPECT_EQ(control.CheckCredits(), 2);
    EXPECT_EQ(control.Send("+39333", "uno"), 0);
    EXPECT_EQ(control.CheckCredits(), 1);
    EXPECT_EQ(control.Send("+39333", "due"), 0);
    EXPECT_EQ(control.Send("+39333", "tre"), 10);
    EXPECT_EQ(control.CheckCredits(), 0);
    EXPECT_EQ(sandbox.logLines().size(), 2U);
}

TEST(QwirlControlWithSandbox, RefusalsOfTheGatewayBecomeTheirCodes)
{
    const SandboxProcess sandbox({"--refuse", "+39111"});
    Control control(Hosts::both(sandbox.host()));
    signIn(control, "demo", "wrong");
    EXPECT_EQ(control.Send("+39333", "x"), 2);
    EXPECT_EQ(control.CheckCredits(), -1);
    signIn(control, "someone", "demo");
    EXPECT_EQ(control.SendNotify("+39333", "x", "1"), 2);
    signIn(control);
    EXPECT_EQ(control.Send("+39111", "x"), 11);
    EXPECT_EQ(control.Send("+", "x"), 11);
    EXPECT_TRUE(sandbox.logLines().empty());
}

TEST(QwirlControlWithSandbox, CreditFailureTellsARefusedAccountFromAGatewayOutOfReach)
{
    const struct
    {
        std::vector<std::string> arguments;
        std::string login;
        std::string password;
        bool stopped;
        long credits;
        long failure;
    } cases[] = {
        {{}, "demo", "demo", false, 100, 0},
        {{}, "demo", "wrong", false, -1, qwirl::Result::RefusedKo1},
        {{}, "", "demo", false, -1, qwirl::Result::NoLogin},
        {{}, "demo", "", false, -1, qwirl::Result::NoPassword},
        {{"--answer", "<html>Errore</html>"}, "demo", "demo", false, -1, qwirl::Result::Refused},
        {{"--answer", "OK -5"}, "demo", "demo", false, -1, qwirl::Result::Refused},
        {{"--answer", "KO 9"}, "demo", "demo", false, -1, qwirl::Result::RefusedKo9},
        {{}, "demo", "demo", true, -1, qwirl::WinInetError::CannotConnect},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.login + "/" + c.password + (c.arguments.empty() ? "" : " " + c.arguments.back()));
        SandboxProcess sandbox(c.arguments);
        Control control(Hosts::both(sandbox.host()));
        if (c.stopped)
            sandbox.stop();
        signIn(control, c.login, c.password);
        EXPECT_EQ(control.CheckCredits(), c.credits);
        EXPECT_EQ(control.LastCreditFailure(), c.failure);
    }
}

TEST(QwirlControlWithSandbox, FixedAnswersAreReadAsTheGatewaysWord)
{
    const struct
    {
        std::vector<std::string> arguments;
        long send;
        long credits;
    } cases[] = {
        {{"--answer", "KO 9"}, 12, -1},
        {{"--answer", "KO 2\\r\\nOK\\r\\n"}, 10, -1},
        {{"--answer", "OK 1500"}, 0, 1500},
        {{"--status", "500", "--answer", "Internal Server Error: TOKEN BROKEN"}, 1, -1},
        {{"--status", "503", "--answer", "OK 7\\n"}, 0, 7},
        {{"--answer", "\\r\\n\\r\\n  OK 8\\r\\n"}, 0, 8},
        {{"--answer", "\xEF\xBB\xBFOK 9\\r\\n"}, 0, 9},
        {{"--answer", "\\r\\n<p>Errore</p>\\r\\nOK\\r\\n"}, 1, -1},
    };
    for (const auto& c : cases) {
        const SandboxProcess sandbox(c.arguments);
        Control control(Hosts::both(sandbox.host()));
        signIn(control);
        EXPECT_EQ(control.Send("+39333", "x"), c.send) << c.arguments.back();
        EXPECT_EQ(control.CheckCredits(), c.credits) << c.arguments.back();
    }
}

TEST(QwirlControlWithSandbox, LoginsWithSpacesWorkForEveryOperation)
{
    // The credit query sends the login as it stands, the other operations encoded.
    const SandboxProcess sandbox({"--login", "mario rossi", "--password", "pàss wörd", "--credit", "5"});
    Control control(Hosts::both(sandbox.host()));
    signIn(control, "mario rossi", "pàss wörd");
    EXPECT_EQ(control.CheckCredits(), 5);
    EXPECT_EQ(control.Send("+39333", "x"), 0);
    EXPECT_EQ(control.CheckCredits(), 4);
}

TEST(QwirlControlWithSandbox, GoesThroughTheProxyPropertiesWhenSet)
{
    const SandboxProcess sandbox({"--proxy-auth", "anna:segreta"});
    Control control(Hosts::both("gateway.invalid"));
    signIn(control);
    control.setProxyAddress(sandbox.host());
    control.setProxyLogin("anna");
    control.setProxyPassword("segreta");
    EXPECT_EQ(control.Send("+39333", "via proxy"), 0);
    EXPECT_EQ(logEntry(sandbox, 0).at("text"), "via proxy");

    control.setProxyPassword("wrong");
    int asked = 0;
    control.setProxyCredentialsCallback([&asked](qwirl::ProxyCredentials& credentials) {
        ++asked;
        credentials.password = "segreta";
        return true;
    });
    EXPECT_EQ(control.CheckCredits(), 99);
    EXPECT_EQ(asked, 1);
}

TEST(QwirlControlWithSandbox, DeclinedGoOnlineGivesThirteenWithoutAnyRequest)
{
    const SandboxProcess sandbox;
    Control control(Hosts::both(sandbox.host()));
    signIn(control);
    control.setGoOnlineHook([](const std::string&) { return false; });
    EXPECT_EQ(control.Send("+39333", "x"), 13);
    EXPECT_EQ(control.CheckCredits(), -1);
    EXPECT_TRUE(sandbox.traceLines().empty());
}

} // namespace
