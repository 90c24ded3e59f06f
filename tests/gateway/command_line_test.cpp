#include "command_line.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using qwirl::cli::CommandLine;

CommandLine::Environment environmentOf(std::map<std::string, std::string> values)
{
    return [values = std::move(values)](const char* name) -> const char* {
        const auto it = values.find(name);
        return it == values.end() ? nullptr : it->second.c_str();
    };
}

TEST(QwirlCommandLine, ReadsEveryOptionWhereverItComes)
{
    std::string error;
    const auto line =
        CommandLine::parse({"--login", "maria", "--password=pw", "--sender", "Parlix", "notify",
                            "--quality=3", "--flash", "+39333", "--proxy", "proxy:3128", "--proxy-login",
                            "anna", "--proxy-password", "pp", "--", "--flash", "42"},
                           environmentOf({}), error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->command, CommandLine::Command::Notify);
    EXPECT_EQ(line->number, "+39333");
    EXPECT_EQ(line->text, "--flash");
    EXPECT_EQ(line->messageId, "42");
    EXPECT_EQ(line->login, "maria");
    EXPECT_EQ(line->password, "pw");
    EXPECT_EQ(line->sender, "Parlix");
    EXPECT_EQ(line->quality, 3);
    EXPECT_TRUE(line->flash);
    EXPECT_EQ(line->proxy, "proxy:3128");
    EXPECT_EQ(line->proxyLogin, "anna");
    EXPECT_EQ(line->proxyPassword, "pp");
}

TEST(QwirlCommandLine, SecretsComeFromTheEnvironmentUnlessAnOptionGivesThem)
{
    const auto environment = environmentOf(
        {{"QWIRL_LOGIN", "envlogin"}, {"QWIRL_PASSWORD", "envpw"}, {"QWIRL_PROXY_PASSWORD", "envpp"}});
    std::string error;
    const auto fromEnvironment = CommandLine::parse({"credits"}, environment, error);
    ASSERT_TRUE(fromEnvironment) << error;
    EXPECT_EQ(fromEnvironment->login, "envlogin");
    EXPECT_EQ(fromEnvironment->password, "envpw");
    EXPECT_EQ(fromEnvironment->proxyPassword, "envpp");

    const auto fromOptions = CommandLine::parse(
        {"--login", "", "--password", "pw", "--proxy-password", "pp", "credits"}, environment, error);
    ASSERT_TRUE(fromOptions) << error;
    EXPECT_EQ(fromOptions->login, "");
    EXPECT_EQ(fromOptions->password, "pw");
    EXPECT_EQ(fromOptions->proxyPassword, "pp");
}

TEST(QwirlCommandLine, RejectsBadUsage)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"send", "+39333"},
        {"send", "+39333", "text", "extra"},
        {"notify", "+39333", "text"},
        {"credits", "now"},
        {"status"},
        {"--login"},
        {"--quality", "high", "credits"},
        {"--quality", "70000", "credits"},
        {"--verbose", "credits"},
        {"--flash=yes", "credits"},
        {"-x", "credits"},
        {"credits", "--login"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(CommandLine::parse(args, environmentOf({}), error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
