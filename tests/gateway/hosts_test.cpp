#include "qwirl/control.h"
#include "qwirl/hosts.h"
#include "qwirl/result_codes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
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

// Compiled defaults < system file < user file < environment; nothing malformed ever falls back.
TEST(QwirlHosts, LayersOverrideTheDefaultsInOrderAndAMalformedValueNeverFallsBack)
{
    const Hosts defaults = Hosts::compiledDefaults();
    const fs::path folder = fs::temp_directory_path() / ("qwirl-hosts-" + std::to_string(::getpid()));
    const fs::path systemFile = folder / "etc" / "gateway.conf";
    const fs::path userFile = folder / "home" / "parlix" / "gateway.conf";
    const std::string sys = systemFile.string();
    const std::string user = userFile.string();
    const struct
    {
        const char* system; // file contents; null: no file
        const char* user;
        const char* send; // environment; null: unset
        const char* notify;
        const char* ca;
        std::string expectedSend;
        std::string expectedNotify;
        std::string expectedCa;
        std::string problem; // empty: none
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, nullptr, defaults.send, defaults.notify, "", ""},
        {"# gateway\n\nsend-host = https://gw.example\r\nca-file=/etc/ssl/gw.pem\n", nullptr, nullptr,
         nullptr, nullptr, "https://gw.example", defaults.notify, "/etc/ssl/gw.pem", ""},
        {"send-host = a.example\nnotify-host = b.example:81\n", "  notify-host\t= c.example  \n", nullptr,
         nullptr, nullptr, "a.example", "c.example", "", ""},
        {"send-host = a.example\n", "send-host = b.example\n", "127.0.0.1:8080", nullptr, "/tmp/ca.pem",
         "127.0.0.1:8080", defaults.notify, "/tmp/ca.pem", ""},
        {nullptr, nullptr, "127.0.0.1:8080", nullptr, nullptr, "127.0.0.1:8080", defaults.notify, "", ""},
        {nullptr, nullptr, "", "[::1]:9", nullptr, defaults.send, "[::1]:9", "", ""},
        {nullptr, nullptr, "127.0.0.1:8080", "bad/host", nullptr, "127.0.0.1:8080", "", "",
         "QWIRL_NOTIFY_HOST \"bad/host\" non è"},
        {nullptr, nullptr, "http://127.0.0.1:8080", nullptr, nullptr, "", defaults.notify, "",
         "QWIRL_SEND_HOST \"http://127.0.0.1:8080\" non è \"host\", \"host:porta\" o "
         "\"https://host[:porta]\""},
        {nullptr, nullptr, "127.0.0.1:8080/", nullptr, nullptr, "", defaults.notify, "", "QWIRL_SEND_HOST"},
        {nullptr, nullptr, "127.0.0.1 ", nullptr, nullptr, "", defaults.notify, "", "QWIRL_SEND_HOST"},
        {nullptr, nullptr, ":0", nullptr, nullptr, "", defaults.notify, "", "QWIRL_SEND_HOST"},
        {nullptr, nullptr, "host:99999", nullptr, nullptr, "", defaults.notify, "", "QWIRL_SEND_HOST"},
        {nullptr, nullptr, nullptr, nullptr, "ca.pem", "", "", "",
         "QWIRL_CA_FILE \"ca.pem\" non è un percorso"},
        // A malformed user value does not fall back to the system file's.
        {"send-host = a.example\n", "send-host = a.example/x\n", nullptr, nullptr, nullptr, "",
         defaults.notify, "", user + ", riga 1: send-host \"a.example/x\" non è"},
        {"send-host = a.example\nsend-host b.example\n", nullptr, nullptr, nullptr, nullptr, "", "", "",
         sys + ", riga 2: manca \"=\""},
        {"sendhost = a.example\n", nullptr, nullptr, nullptr, nullptr, "", "", "",
         sys + ", riga 1: chiave sconosciuta \"sendhost\""},
        {"ca-file = certs/ca.pem\n", nullptr, nullptr, nullptr, nullptr, "", "", "",
         "ca-file \"certs/ca.pem\""},
        // The environment still wins over a broken file, which is still reported.
        {"nonsense\n", nullptr, "127.0.0.1:8080", nullptr, nullptr, "127.0.0.1:8080", "", "",
         "riga 1: manca"},
    };
    ::setenv("PARLIX_GATEWAY_CONF_DIR", systemFile.parent_path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder / "home").c_str(), 1);
    for (const auto& c : cases) {
        fs::remove_all(folder);
        const auto write = [](const fs::path& path, const char* text) {
            if (text != nullptr) {
                fs::create_directories(path.parent_path());
                std::ofstream(path) << text;
            }
        };
        write(systemFile, c.system);
        write(userFile, c.user);
        const auto set = [](const char* name, const char* value) {
            value ? ::setenv(name, value, 1) : ::unsetenv(name);
        };
        set("QWIRL_SEND_HOST", c.send);
        set("QWIRL_NOTIFY_HOST", c.notify);
        set("QWIRL_CA_FILE", c.ca);
        const Hosts hosts = Hosts::fromEnvironment();
        const std::string label = std::string(c.system ? c.system : "-") + " | " + (c.user ? c.user : "-") +
                                  " | " + (c.send ? c.send : "-") + " " + (c.notify ? c.notify : "-");
        EXPECT_EQ(hosts.send, c.expectedSend) << label;
        EXPECT_EQ(hosts.notify, c.expectedNotify) << label;
        EXPECT_EQ(hosts.caFile, c.expectedCa) << label;
        const auto problem = Hosts::configurationProblem();
        EXPECT_EQ(problem.has_value(), !c.problem.empty()) << label << problem.value_or("");
        EXPECT_NE(problem.value_or("").find(c.problem), std::string::npos) << label << *problem;
    }
    fs::remove_all(folder);
    for (const char* name : {"QWIRL_SEND_HOST", "QWIRL_NOTIFY_HOST", "QWIRL_CA_FILE",
                             "PARLIX_GATEWAY_CONF_DIR", "XDG_CONFIG_HOME"}) {
        ::unsetenv(name);
    }
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
