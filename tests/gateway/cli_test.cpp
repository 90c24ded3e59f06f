#include "process_runner.h"
#include "sandbox_process.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#ifndef QWIRL_CLI_PATH
#error "QWIRL_CLI_PATH must name the qwirl executable"
#endif

namespace {

using qwirl::testing::ProcessResult;
using qwirl::testing::runProcess;
using qwirl::testing::SandboxProcess;

// Runs qwirl against the sandbox, with no account or proxy settings from the environment unless given.
ProcessResult qwirl(const SandboxProcess& sandbox, std::vector<std::string> arguments,
                    std::map<std::string, std::string> environment = {})
{
    arguments.insert(arguments.begin(), QWIRL_CLI_PATH);
    environment.try_emplace("QWIRL_SEND_HOST", sandbox.host());
    environment.try_emplace("QWIRL_NOTIFY_HOST", sandbox.host());
    for (const char* name : {"QWIRL_LOGIN", "QWIRL_PASSWORD", "QWIRL_PROXY_PASSWORD", "http_proxy"}) {
        environment.try_emplace(name, "");
    }
    return runProcess(arguments, environment);
}

TEST(QwirlCommand, PrintsTheResultAloneAndExitsByIt)
{
    const SandboxProcess sandbox({"--credit", "10"});
    const struct
    {
        std::vector<std::string> arguments;
        std::string out;
        int exitCode;
    } cases[] = {
        {{"--login", "demo", "--password", "demo", "--sender", "Parlix", "send", "+393331234567", "Ciao è"},
         "0\n",
         0},
        {{"--login", "demo", "--password", "demo", "--quality", "1", "--flash", "notify", "+39333", "Avviso",
          "77"},
         "0\n",
         0},
        {{"--login", "demo", "--password", "demo", "credits"}, "8\n", 0},
        {{"--login", "demo", "--password", "wrong", "send", "+39333", "x"}, "2\n", 1},
        {{"--login", "demo", "--password", "wrong", "credits"}, "-1\n", 1},
        {{"--login", "demo", "--password", "demo", "send", "393331234567", "x"}, "3\n", 1},
        {{"--login", "demo", "--password", "demo", "--quality", "3", "notify", "+39333", "x", "1"},
         "15\n",
         1},
        {{"send", "+39333", "x"}, "5\n", 1},
    };
    for (const auto& c : cases) {
        const ProcessResult result = qwirl(sandbox, c.arguments);
        EXPECT_EQ(result.out, c.out) << ::testing::PrintToString(c.arguments) << result.err;
        EXPECT_EQ(result.exitCode, c.exitCode) << ::testing::PrintToString(c.arguments);
    }
    const auto lines = sandbox.logLines();
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_NE(lines[0].find(R"("sender":"Parlix","type":"TEXT","quality":"l","text":"Ciao è")"),
              std::string::npos)
        << lines[0];
}

TEST(QwirlCommand, TakesSecretsFromTheEnvironmentWithOptionsWinning)
{
    const SandboxProcess sandbox({"--credit", "10"});
    const std::map<std::string, std::string> environment = {{"QWIRL_LOGIN", "demo"},
                                                            {"QWIRL_PASSWORD", "demo"}};
    EXPECT_EQ(qwirl(sandbox, {"credits"}, environment).out, "10\n");
    EXPECT_EQ(qwirl(sandbox, {"--password", "wrong", "credits"}, environment).out, "-1\n");
}

TEST(QwirlCommand, BadUsageExitsWithTwoAndNothingOnStandardOutput)
{
    const SandboxProcess sandbox;
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{},
                                               {"send", "+39333"},
                                               {"--quality", "x", "credits"},
                                               {"--nope", "credits"},
                                               {"credits", "extra"}}) {
        const ProcessResult result = qwirl(sandbox, arguments);
        EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(arguments);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("usage: qwirl [options] send NUMBER TEXT"), std::string::npos);
    }
    EXPECT_TRUE(sandbox.traceLines().empty());
}

// A typo in a host must never fall back to the built-in production gateway.
TEST(QwirlCommand, MalformedHostVariableExitsWithTwoAndSendsNothing)
{
    const SandboxProcess sandbox({"--credit", "10"});
    const std::vector<std::string> send = {"--login", "demo", "--password", "demo", "send", "+39333", "x"};
    const struct
    {
        const char* variable;
        std::string value;
    } cases[] = {
        {"QWIRL_SEND_HOST", "http://" + sandbox.host()}, {"QWIRL_SEND_HOST", sandbox.host() + "/"},
        {"QWIRL_SEND_HOST", " " + sandbox.host()},       {"QWIRL_SEND_HOST", ":0"},
        {"QWIRL_SEND_HOST", "127.0.0.1:99999"},          {"QWIRL_NOTIFY_HOST", "127.0.0.1:0"},
    };
    for (const auto& c : cases) {
        const ProcessResult result = qwirl(sandbox, send, {{c.variable, c.value}});
        EXPECT_EQ(result.exitCode, 2) << c.value;
        EXPECT_EQ(result.out, "") << c.value;
        EXPECT_EQ(result.err, "qwirl: " + std::string(c.variable) + " \"" + c.value +
                                  "\" is not \"host\" or \"host:port\"; nothing was sent\n");
    }
    EXPECT_TRUE(sandbox.traceLines().empty());
    // Set but empty counts as not set.
    EXPECT_EQ(qwirl(sandbox, send, {{"QWIRL_NOTIFY_HOST", ""}}).out, "0\n");
}

TEST(QwirlCommand, ProxyAuthenticationWithoutATerminalCountsAsCancelled)
{
    const SandboxProcess sandbox({"--proxy-auth", "anna:segreta"});
    const std::map<std::string, std::string> gateway = {{"QWIRL_SEND_HOST", "gateway.invalid"}};
    const ProcessResult refused = qwirl(
        sandbox, {"--login", "demo", "--password", "demo", "--proxy", sandbox.host(), "send", "+39333", "x"},
        gateway);
    EXPECT_EQ(refused.out, "9\n");
    EXPECT_EQ(refused.exitCode, 1);

    const ProcessResult accepted =
        qwirl(sandbox,
              {"--login", "demo", "--password", "demo", "--proxy", sandbox.host(), "--proxy-login", "anna",
               "send", "+39333", "x"},
              {{"QWIRL_SEND_HOST", "gateway.invalid"}, {"QWIRL_PROXY_PASSWORD", "segreta"}});
    EXPECT_EQ(accepted.out, "0\n") << accepted.err;
    EXPECT_EQ(accepted.exitCode, 0);
}

} // namespace
