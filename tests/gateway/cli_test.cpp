#include "json_fields.h"
#include "process_runner.h"
#include "sandbox_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#ifndef QWIRL_CLI_PATH
#error "QWIRL_CLI_PATH must name the qwirl executable"
#endif

namespace {

using qwirl::testing::closedPort;
using qwirl::testing::ProcessResult;
using qwirl::testing::runProcess;
using qwirl::testing::SandboxProcess;

// Runs qwirl against the sandbox, with no account or proxy settings from the environment unless given.
ProcessResult qwirl(const SandboxProcess& sandbox, std::vector<std::string> arguments,
                    std::map<std::string, std::string> environment = {})
{
    arguments.insert(arguments.begin(), QWIRL_CLI_PATH);
    // Never the machine's own configuration files.
    environment.try_emplace("PARLIX_GATEWAY_CONF_DIR", "/nonexistent/qwirl-test");
    environment.try_emplace("XDG_CONFIG_HOME", "/nonexistent/qwirl-test");
    environment.try_emplace("QWIRL_SEND_HOST", sandbox.host());
    environment.try_emplace("QWIRL_NOTIFY_HOST", sandbox.host());
    for (const char* name : {"QWIRL_LOGIN", "QWIRL_PASSWORD", "QWIRL_PROXY_PASSWORD", "http_proxy"}) {
        environment.try_emplace(name, "");
    }
    return runProcess(arguments, environment);
}

// The number on standard output, its meaning on standard error and an exit status by its kind.
TEST(QwirlCommand, PrintsTheResultAndWhyAndExitsByItsKind)
{
    const SandboxProcess sandbox({"--credit", "10"});
    const std::string unreachable = "127.0.0.1:" + std::to_string(closedPort());
    const std::vector<std::string> demo = {"--login", "demo", "--password", "demo"};
    const auto with = [](std::vector<std::string> head, const std::vector<std::string>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const struct
    {
        std::vector<std::string> arguments;
        std::string host; // for QWIRL_SEND_HOST; empty: the sandbox
        std::string out;
        std::string err;
        int exitCode;
    } cases[] = {
        {with(demo, {"--sender", "Parlix", "send", "+393331234567", "Ciao è"}), "", "0\n", "", 0},
        {with(demo, {"--quality", "1", "--flash", "notify", "+39333", "Avviso", "77"}), "", "0\n", "", 0},
        {with(demo, {"credits"}), "", "8\n", "", 0},
        {{"--login", "demo", "--password", "wrong", "send", "+39333", "x"},
         "",
         "2\n",
         "qwirl: rifiutato dal gateway: login o password errati (KO 1) (codice 2)\n",
         4},
        {{"--login", "demo", "--password", "wrong", "credits"},
         "",
         "-1\n",
         "qwirl: rifiutato dal gateway: login o password errati (KO 1) (codice 2)\n",
         4},
        {{"--login", "demo", "credits"}, "", "-1\n", "qwirl: password mancante (codice 6)\n", 3},
        {with(demo, {"send", "393331234567", "x"}), "", "3\n",
         "qwirl: numero non valido: serve \"+\" seguito da cifre (codice 3)\n", 3},
        {with(demo, {"--quality", "3", "notify", "+39333", "x", "1"}), "", "15\n",
         "qwirl: qualità non valida per questa operazione (codice 15)\n", 3},
        {{"send", "+39333", "x"}, "", "5\n", "qwirl: login mancante (codice 5)\n", 3},
        {with(demo, {"credits"}), unreachable, "-1\n",
         "qwirl: connessione al gateway non riuscita (codice 12029)\n", 5},
        {with(demo, {"credits"}), "https://" + sandbox.host(), "-1\n",
         "qwirl: connessione sicura (TLS) con il gateway non riuscita (codice 12157)\n", 6},
        {with(demo, {"send", "+393331234567", "x"}), "https://" + sandbox.host(), "12157\n",
         "qwirl: connessione sicura (TLS) con il gateway non riuscita (codice 12157)\n", 6},
        // Options after the command, --option=VALUE, and "--" before a text that begins with a dash.
        {{"send", "--login=demo", "+39333", "--password", "demo", "--", "-x"}, "", "0\n", "", 0},
    };
    for (const auto& c : cases) {
        const ProcessResult result = c.host.empty()
                                         ? qwirl(sandbox, c.arguments)
                                         : qwirl(sandbox, c.arguments, {{"QWIRL_SEND_HOST", c.host}});
        const std::string label = ::testing::PrintToString(c.arguments) + " " + c.host;
        EXPECT_EQ(result.out, c.out) << label << result.err;
        EXPECT_EQ(result.err, c.err) << label;
        EXPECT_EQ(result.exitCode, c.exitCode) << label;
    }
    const auto lines = sandbox.logLines();
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_NE(lines[0].find(R"("sender":"Parlix","type":"TEXT","quality":"l","text":"Ciao è")"),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[2].find(R"("text":"-x")"), std::string::npos) << lines[2];
}

TEST(QwirlCommand, ReadsTheTextFromStandardInputForADash)
{
    const SandboxProcess sandbox;
    const ProcessResult result = runProcess(
        {"/bin/sh", "-c", "printf 'Riga uno\\nRiga due\\n' | \"$0\" send +39333 -", QWIRL_CLI_PATH},
        {{"QWIRL_SEND_HOST", sandbox.host()}, {"QWIRL_LOGIN", "demo"}, {"QWIRL_PASSWORD", "demo"}});
    EXPECT_EQ(result.out, "0\n") << result.err;
    const auto lines = sandbox.logLines();
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(qwirl::testing::parseJsonLine(lines[0])->at("text"), "Riga uno\nRiga due");
}

// Both programs read their arguments with one declared grammar.
TEST(QwirlCommand, BothProgramsHelpTellTheirVersionAndRefuseBadUsageWithTheUsage)
{
    const std::string sandbox = SandboxProcess::executable();
    const struct
    {
        std::vector<std::string> arguments;
        int exitCode;
        std::string out; // found in standard output
        std::string err; // found in standard error
    } cases[] = {
        {{QWIRL_CLI_PATH, "--help"}, 0, "Uso: qwirl [opzioni] send NUMERO TESTO\n", ""},
        {{QWIRL_CLI_PATH, "send", "-h"}, 0, "\n  6 ", ""},
        {{QWIRL_CLI_PATH, "--version"}, 0, "qwirl 1.", ""},
        {{QWIRL_CLI_PATH}, 1, "", "qwirl: manca il comando\nUso: qwirl [opzioni] send NUMERO TESTO\n"},
        {{QWIRL_CLI_PATH, "--nope", "credits"}, 1, "", "opzione sconosciuta: --nope\nUso: qwirl"},
        {{QWIRL_CLI_PATH, "status"}, 1, "", "comando sconosciuto: status\nUso: qwirl"},
        {{QWIRL_CLI_PATH, "send", "+39333"}, 1, "", "send vuole NUMERO TESTO\nUso: qwirl"},
        {{QWIRL_CLI_PATH, "credits", "extra"}, 1, "", "credits non vuole argomenti\nUso: qwirl"},
        {{QWIRL_CLI_PATH, "--quality", "x", "credits"},
         1,
         "",
         "valore non valido per --quality: x\nUso: qwirl"},
        {{QWIRL_CLI_PATH, "credits", "--login"}, 1, "", "manca il valore di --login (LOGIN)\nUso: qwirl"},
        {{sandbox, "--help"}, 0, "Uso: qwirl-sandbox [opzioni]\n", ""},
        {{sandbox, "--version"}, 0, "qwirl-sandbox 1.", ""},
        {{sandbox, "--port=0", "--bogus", "1"}, 1, "", "opzione sconosciuta: --bogus\nUso: qwirl-sandbox"},
        {{sandbox, "--port", "0", "extra"}, 1, "", "argomento inatteso: extra\nUso: qwirl-sandbox"},
        {{sandbox, "--tls-cert", "x.pem", "--port", "0"}, 1, "", "--tls-cert e --tls-key vanno insieme\n"},
        {{sandbox, "--port", "0", "--tls-cert", "none.pem", "--tls-key", "none.pem"},
         2,
         "",
         "impossibile leggere il certificato o la chiave TLS"},
    };
    for (const auto& c : cases) {
        const ProcessResult result = runProcess(c.arguments, {{"QWIRL_PASSWORD", ""}});
        const std::string label = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << label << result.err;
        EXPECT_NE(result.out.find(c.out), std::string::npos) << label << result.out;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << label << result.err;
        EXPECT_EQ(result.out.empty(), c.out.empty()) << label << result.out;
    }
}

TEST(QwirlCommand, TakesSecretsFromTheEnvironmentWithOptionsWinning)
{
    const SandboxProcess sandbox({"--credit", "10"});
    const std::map<std::string, std::string> environment = {{"QWIRL_LOGIN", "demo"},
                                                            {"QWIRL_PASSWORD", "demo"}};
    EXPECT_EQ(qwirl(sandbox, {"credits"}, environment).out, "10\n");
    EXPECT_EQ(qwirl(sandbox, {"--password", "wrong", "credits"}, environment).out, "-1\n");
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
        EXPECT_EQ(result.err,
                  "qwirl: " + std::string(c.variable) + " \"" + c.value +
                      "\" non è \"host\", \"host:porta\" o \"https://host[:porta]\"; nulla inviato\n");
    }
    // So is a malformed configuration file; a sound one is read.
    const std::string folder = sandbox.logPath() + ".conf";
    const auto confFolder = [&folder](const std::string& text) {
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/gateway.conf") << text;
        return std::map<std::string, std::string>{{"PARLIX_GATEWAY_CONF_DIR", folder},
                                                  {"QWIRL_SEND_HOST", ""}};
    };
    const ProcessResult broken = qwirl(sandbox, send, confFolder("send-host: " + sandbox.host() + "\n"));
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_EQ(broken.err, "qwirl: " + folder +
                              "/gateway.conf, riga 1: manca \"=\": le righe sono chiave = valore; "
                              "nulla inviato\n");
    EXPECT_TRUE(sandbox.traceLines().empty());
    EXPECT_EQ(qwirl(sandbox, send, confFolder("send-host = " + sandbox.host() + "\n")).out, "0\n");
    std::filesystem::remove_all(folder);
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
    EXPECT_EQ(refused.exitCode, 5);

    const ProcessResult accepted =
        qwirl(sandbox,
              {"--login", "demo", "--password", "demo", "--proxy", sandbox.host(), "--proxy-login", "anna",
               "send", "+39333", "x"},
              {{"QWIRL_SEND_HOST", "gateway.invalid"}, {"QWIRL_PROXY_PASSWORD", "segreta"}});
    EXPECT_EQ(accepted.out, "0\n") << accepted.err;
    EXPECT_EQ(accepted.exitCode, 0);
}

} // namespace
