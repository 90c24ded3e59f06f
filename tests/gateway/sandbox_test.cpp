#include "process_runner.h"
#include "sandbox_process.h"

#include "qwirl/curl_transport.h"
#include "qwirl/ticket.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

namespace {

using qwirl::CurlTransport;
using qwirl::Ticket;
using qwirl::testing::SandboxProcess;

std::string post(const SandboxProcess& sandbox, const std::string& path, const std::string& body)
{
    CurlTransport transport;
    std::string answer;
    const int code = transport.PostForm(body, path, sandbox.host(), {}, answer);
    return code == 0 ? answer : "failed with " + std::to_string(code);
}

std::string textBody(const std::string& ticketOf, const std::string& fields)
{
    return "ticket=" + Ticket::compute(ticketOf) + fields;
}

TEST(QwirlSandbox, ChecksEveryRequestTheWayTheControlBuildsIt)
{
    const std::string send = "/sms-gw/sendsmart";
    const std::string notify = "/sms-gw/smartnotify";
    const std::string good = "demoTEXT+39333Parlixciaodemo";
    const struct
    {
        const char* name;
        std::string path;
        std::string body;
        std::string answer;
    } cases[] = {
        {"accepted", send,
         textBody(good, "&operation=TEXT&data=ciao&id=demo&rcpt=%2B39333&from=Parlix&qty=ll"), "OK\r\n"},
        {"accepted notify", notify,
         textBody(good, "&operation=TEXT&data=ciao&id=demo&rcpt=%2B39333&from=Parlix&act=7&qty=h"), "OK\r\n"},
        {"wrong ticket", send,
         textBody(good + "x", "&operation=TEXT&data=ciao&id=demo&rcpt=%2B39333&from=Parlix&qty=l"),
         "KO 1\r\n"},
        {"unknown account", send,
         textBody("eveTEXT+39333Parlixciaodemo",
                  "&operation=TEXT&data=ciao&id=eve&rcpt=%2B39333&from=Parlix&qty=l"),
         "KO 1\r\n"},
        {"missing sender", send, textBody(good, "&operation=TEXT&data=ciao&id=demo&rcpt=%2B39333&qty=l"),
         "KO 3\r\n"},
        {"bad escape", send,
         textBody(good, "&operation=TEXT&data=ci%ZZ&id=demo&rcpt=%2B39333&from=Parlix&qty=l"), "KO 3\r\n"},
        {"unknown operation", send, "ticket=x&operation=DELETE&id=demo", "KO 3\r\n"},
        {"credit on notify", notify, "ticket=x&operation=GETCREDIT&id=demo", "KO 3\r\n"},
        {"notify without id", notify,
         textBody(good, "&operation=TEXT&data=ciao&id=demo&rcpt=%2B39333&from=Parlix&qty=l"), "KO 3\r\n"},
        {"ll on notify", notify,
         textBody(good, "&operation=TEXT&data=ciao&id=demo&rcpt=%2B39333&from=Parlix&act=7&qty=ll"),
         "KO 3\r\n"},
        {"recipient without digits", send,
         textBody("demoTEXT+Parlixciaodemo", "&operation=TEXT&data=ciao&id=demo&rcpt=%2B&from=Parlix&qty=l"),
         "KO 3\r\n"},
        {"sender too long", send,
         textBody("demoTEXT+39333Parlix Srl Roma ciaodemo",
                  "&operation=TEXT&data=ciao&id=demo&rcpt=%2B39333&from=Parlix+Srl+Roma+&qty=l"),
         "KO 3\r\n"},
        {"unknown path", "/sms-gw/other", "ticket=x", "KO 9\r\n"},
        {"query ignored", "/sms-gw/sendsmart?x=1",
         textBody("demoGETCREDITdemo", "&operation=GETCREDIT&id=demo"), "OK 98\r\n"},
    };
    const SandboxProcess sandbox;
    for (const auto& c : cases) {
        EXPECT_EQ(post(sandbox, c.path, c.body), c.answer) << c.name;
    }
    EXPECT_EQ(sandbox.logLines().size(), 2U);
}

TEST(QwirlSandbox, StopsCleanlyOnSigtermAndSigint)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        SandboxProcess sandbox({"--delay", "10000"});
        const int status = sandbox.stop(signal);
        EXPECT_TRUE(WIFEXITED(status)) << signal;
        EXPECT_EQ(WEXITSTATUS(status), 0) << signal;
    }
}

TEST(QwirlSandbox, RejectsBadUsageWithStatusTwo)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--port"},
        {"--port", "70000"},
        {"--port", "0", "--credit", "many"},
        {"--port", "0", "--login", ""},
        {"--port", "0", "--bogus", "1"},
    };
    for (const auto& args : cases) {
        std::vector<std::string> command = {SandboxProcess::executable()};
        command.insert(command.end(), args.begin(), args.end());
        const auto result = qwirl::testing::runProcess(command);
        EXPECT_EQ(result.exitCode, 1) << ::testing::PrintToString(args);
        EXPECT_NE(result.err.find("Uso: qwirl-sandbox"), std::string::npos);
    }
}

} // namespace
