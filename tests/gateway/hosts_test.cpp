#include "qwirl/hosts.h"

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

TEST(QwirlHosts, EnvironmentOverridesTheCompiledDefaultsWhenWellFormed)
{
    const Hosts defaults = Hosts::compiledDefaults();
    ::setenv("QWIRL_SEND_HOST", "127.0.0.1:8080", 1);
    ::setenv("QWIRL_NOTIFY_HOST", "bad/host", 1);
    const Hosts hosts = Hosts::fromEnvironment();
    EXPECT_EQ(hosts.send, "127.0.0.1:8080");
    EXPECT_EQ(hosts.notify, defaults.notify);
    ::unsetenv("QWIRL_SEND_HOST");
    ::unsetenv("QWIRL_NOTIFY_HOST");
    EXPECT_EQ(Hosts::fromEnvironment().send, defaults.send);
}

} // namespace
