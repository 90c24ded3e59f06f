// qwirl: sends an SMS, an SMS with a message identifier, or asks for the credit, through the gateway.
// Prints the result as one decimal line on standard output, and why it is no success on standard error.

#include "command_line.h"
#include "exit_status.h"
#include "qwirl_grammar.h"
#include "terminal_prompt.h"

#include "qwirl/control.h"
#include "qwirl/hosts.h"
#include "qwirl/result_text.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>

namespace {

// The whole of standard input, less one final line end: "echo Ciao | qwirl send N -" sends "Ciao".
std::string standardInput()
{
    std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    if (text.ends_with('\n')) {
        text.pop_back();
        if (text.ends_with('\r')) {
            text.pop_back();
        }
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    using qwirl::cli::CommandLine;
    namespace cli = qwirl::cli;
    std::string error;
    auto line = CommandLine::parse(
        {argv + 1, argv + argc}, [](const char* name) -> const char* { return std::getenv(name); }, error);
    if (!line) {
        std::fprintf(stderr, "qwirl: %s\n%s(qwirl --help per l'aiuto)\n", error.c_str(),
                     cli::usageText(cli::qwirlGrammar()).c_str());
        return cli::UsageError;
    }
    switch (line->command) {
    case CommandLine::Command::Help:
        std::fputs(cli::helpText(cli::qwirlGrammar()).c_str(), stdout);
        return cli::Success;
    case CommandLine::Command::Version:
        std::fputs(cli::versionText(cli::qwirlGrammar()).c_str(), stdout);
        return cli::Success;
    case CommandLine::Command::DumpGrammar:
        std::fputs(cli::grammarJson(cli::qwirlGrammar()).c_str(), stdout);
        return cli::Success;
    default:
        break;
    }

    if (const auto problem = qwirl::Hosts::configurationProblem()) {
        std::fprintf(stderr, "qwirl: %s; nulla inviato\n", problem->c_str());
        return cli::BadConfiguration;
    }
    if (line->command != CommandLine::Command::Credits && line->text == "-") {
        line->text = standardInput();
    }

    qwirl::Control control;
    control.setLogin(line->login);
    control.setPassword(line->password);
    control.setSender(line->sender);
    control.setQuality(line->quality);
    control.setFlash(line->flash);
    control.setProxyAddress(line->proxy);
    control.setProxyLogin(line->proxyLogin);
    control.setProxyPassword(line->proxyPassword);
    control.setProxyCredentialsCallback(&qwirl::cli::TerminalPrompt::askProxyCredentials);

    long result = 0;
    long failure = 0;
    std::string meaning;
    if (line->command == CommandLine::Command::Credits) {
        result = control.CheckCredits();
        failure = result >= 0 ? 0 : control.LastCreditFailure();
        meaning = qwirl::creditFailureMeaning(failure);
    } else {
        result = line->command == CommandLine::Command::Send
                     ? control.Send(line->number, line->text)
                     : control.SendNotify(line->number, line->text, line->messageId);
        failure = result;
        meaning = qwirl::resultMeaning(failure);
    }
    std::printf("%ld\n", result);
    if (failure != 0) {
        std::fprintf(stderr, "qwirl: %s (codice %ld)\n", meaning.c_str(), failure);
    }
    return cli::exitStatusFor(failure);
}
