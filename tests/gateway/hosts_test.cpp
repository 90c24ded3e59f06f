#include "qwirl/control.h"
#include "qwirl/hosts.h"
#include "qwirl/result_codes.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using qwirl::Hosts;

TEST(QwirlHosts, AcceptsHostAndPortOnlyInTheirPlainForms)
{
    const struct
    {
        const char* host;
        bool expected;
    } cases[] = {
        {"sms.example.com", true},
        {"127.0.0.1:8080", true},
        {"gw-1.example:80", true},
        {"[::1]:9000", true},
        {"[::1]", true},
        {"https://sms.example.com", true},
        {"https://127.0.0.1:8443", true},
        {"https://[::1]:9", true},
        {"https://", false},
        {"https://host/path", false},
        {"http://host", false},
        {"HTTPS://host", false},
        {"", false},
        {":80", false},
        {"host:", false},
        {"host:0", false},
        {"host:65536", false},
        {"host:80x", false},
        {"evil/path", false},
        {"user@host", false},
        {"host name", false},
        {"host?x=1", false},
        {"[::1", false},
        {"[]:80", false},
        {"host\r\nX: y", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hosts::isWellFormed(c.host), c.expected) << c.host;
    }
}

TEST(QwirlHosts, EnvironmentOverridesTheDefaultsAndAMalformedValueNeverFallsBackToThem)
{
    const Hosts defaults = Hosts::compiledDefaults();
    const struct
    {
        const char* send;
        const char* notify;
        std::string expectedSend;
        std::string expectedNotify;
        bool problem;
    } cases[] = {
        {nullptr, nullptr, defaults.send, defaults.notify, false},
        {"127.0.0.1:8080", nullptr, "127.0.0.1:8080", defaults.notify, false},
        {"", "[::1]:9", defaults.send, "[::1]:9", false},
        {"127.0.0.1:8080", "bad/host", "127.0.0.1:8080", "", true},
        {"http://127.0.0.1:8080", nullptr, "", defaults.notify, true},
        {"127.0.0.1:8080/", nullptr, "", defaults.notify, true},
        {"127.0.0.1 ", nullptr, "", defaults.notify, true},
        {":0", nullptr, "", defaults.notify, true},
        {"host:99999", nullptr, "", defaults.notify, true},
    };
    for (const auto& c : cases) {
        const auto set = [](const char* name, const char* value) {
            value ? ::setenv(name, value, 1) : ::unsetenv(name);
        };
        set("QWIRL_SEND_HOST", c.send);
        set("QWIRL_NOTIFY_HOST", c.notify);
        const Hosts hosts = Hosts::fromEnvironment();
        const std::string label = std::string(c.send ? c.send : "-") + " " + (c.notify ? c.notify : "-");
        EXPECT_EQ(hosts.send, c.expectedSend) << label;
        EXPECT_EQ(hosts.notify, c.expectedNotify) << label;
        EXPECT_EQ(Hosts::environmentProblem().has_value(), c.problem) << label;
    }
    ::unsetenv("QWIRL_SEND_HOST");
    ::unsetenv("QWIRL_NOTIFY_HOST");
}

// Whoever builds a Control on a malformed variable gets failures, never the production host.
TEST(QwirlHosts, ControlOnAMalformedHostSendsNothing)
{
    ::setenv("QWIRL_SEND_HOST", "http://127.0.0.1:1", 1);
    qwirl::Control control;
    ::unsetenv("QWIRL_SEND_HOST");
    control.setLogin("demo");
    control.setPassword("demo");
    EXPECT_EQ(control.Send(std::string_view("+393331234567"), std::string_view("x")),
              qwirl::WinInetError::InvalidUrl);
    EXPECT_EQ(control.CheckCredits(), qwirl::Result::NoCredit);
}

} // namespace
