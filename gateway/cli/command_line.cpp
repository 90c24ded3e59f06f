#include "command_line.h"

#include "qwirl_grammar.h"

#include <charconv>

namespace qwirl::cli {
namespace {

std::string fromEnvironment(const CommandLine::Environment& environment, const char* name)
{
    const char* value = environment ? environment(name) : nullptr;
    return value != nullptr ? value : "";
}

} // namespace

std::optional<CommandLine> CommandLine::parse(const std::vector<std::string>& args,
                                              const Environment& environment, std::string& error)
{
    const auto parsed = parseCommandLine(qwirlGrammar(), args, error);
    if (!parsed) {
        return std::nullopt;
    }
    CommandLine line;
    switch (parsed->action) {
    case ParsedLine::Action::Help:
        return line;
    case ParsedLine::Action::Version:
        line.command = Command::Version;
        return line;
    case ParsedLine::Action::DumpGrammar:
        line.command = Command::DumpGrammar;
        return line;
    case ParsedLine::Action::Run:
        break;
    }
    if (const auto quality = parsed->value("quality")) {
        const char* end = quality->data() + quality->size();
        const auto [ptr, ec] = std::from_chars(quality->data(), end, line.quality);
        if (ec != std::errc{} || ptr != end) {
            error = "valore non valido per --quality: " + *quality;
            return std::nullopt;
        }
    }
    line.command = parsed->command == "send"     ? Command::Send
                   : parsed->command == "notify" ? Command::Notify
                                                 : Command::Credits;
    if (line.command != Command::Credits) {
        line.number = parsed->operands[0];
        line.text = parsed->operands[1];
    }
    if (line.command == Command::Notify) {
        line.messageId = parsed->operands[2];
    }
    line.flash = parsed->has("flash");
    line.sender = parsed->value("sender").value_or("");
    line.proxy = parsed->value("proxy").value_or("");
    line.proxyLogin = parsed->value("proxy-login").value_or("");
    line.login = parsed->value("login").value_or(fromEnvironment(environment, "QWIRL_LOGIN"));
    line.password = parsed->value("password").value_or(fromEnvironment(environment, "QWIRL_PASSWORD"));
    line.proxyPassword =
        parsed->value("proxy-password").value_or(fromEnvironment(environment, "QWIRL_PROXY_PASSWORD"));
    return line;
}

} // namespace qwirl::cli
