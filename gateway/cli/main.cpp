// qwirl: sends an SMS, an SMS with a message identifier, or asks for the credit, through the gateway.
// Prints the result as one decimal line on standard output.

#include "command_line.h"
#include "terminal_prompt.h"

#include "qwirl/control.h"
#include "qwirl/hosts.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    using qwirl::cli::CommandLine;
    std::string error;
    const auto line = CommandLine::parse(
        {argv + 1, argv + argc}, [](const char* name) -> const char* { return std::getenv(name); }, error);
    if (!line) {
        std::fprintf(stderr, "qwirl: %s\n%s", error.c_str(), CommandLine::usage());
        return 2;
    }
    if (line->command == CommandLine::Command::Help) {
        std::fputs(CommandLine::usage(), stdout);
        return 0;
    }

    if (const auto problem = qwirl::Hosts::environmentProblem()) {
        std::fprintf(stderr, "qwirl: %s; nothing was sent\n", problem->c_str());
        return 2;
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
    bool success = false;
    switch (line->command) {
    case CommandLine::Command::Send:
        result = control.Send(line->number, line->text);
        success = result == 0;
        break;
    case CommandLine::Command::Notify:
        result = control.SendNotify(line->number, line->text, line->messageId);
        success = result == 0;
        break;
    case CommandLine::Command::Credits:
    case CommandLine::Command::Help:
        result = control.CheckCredits();
        success = result >= 0;
        break;
    }
    std::printf("%ld\n", result);
    return success ? 0 : 1;
}
