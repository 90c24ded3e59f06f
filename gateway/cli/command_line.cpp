#include "command_line.h"

#include <charconv>

namespace qwirl::cli {
namespace {

std::string fromEnvironment(const CommandLine::Environment& environment, const char* name)
{
    const char* value = environment ? environment(name) : nullptr;
    return value != nullptr ? value : "";
}

} // namespace

const char* CommandLine::usage()
{
    return "usage: qwirl [options] send NUMBER TEXT\n"
           "       qwirl [options] notify NUMBER TEXT MESSAGEID\n"
           "       qwirl [options] credits\n"
           "options: --login L  --password P  --sender S  --quality N  --flash\n"
           "         --proxy ADDRESS  --proxy-login U  --proxy-password P\n"
           "Login, password and proxy password may also come from QWIRL_LOGIN, QWIRL_PASSWORD and\n"
           "QWIRL_PROXY_PASSWORD.\n";
}

std::optional<CommandLine> CommandLine::parse(const std::vector<std::string>& args,
                                              const Environment& environment, std::string& error)
{
    CommandLine line;
    std::optional<std::string> login;
    std::optional<std::string> password;
    std::optional<std::string> proxyPassword;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        const std::string& name = args[i];
        if (name == "--help") {
            return line;
        }
        if (name == "--flash") {
            line.flash = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "missing value for " + name;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (name == "--login") {
            login = value;
        } else if (name == "--password") {
            password = value;
        } else if (name == "--sender") {
            line.sender = value;
        } else if (name == "--quality") {
            const char* end = value.data() + value.size();
            const auto [ptr, ec] = std::from_chars(value.data(), end, line.quality);
            if (ec != std::errc{} || ptr != end) {
                error = "bad value for --quality: " + value;
                return std::nullopt;
            }
        } else if (name == "--proxy") {
            line.proxy = value;
        } else if (name == "--proxy-login") {
            line.proxyLogin = value;
        } else if (name == "--proxy-password") {
            proxyPassword = value;
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
    }
    if (i >= args.size()) {
        error = "missing command";
        return std::nullopt;
    }
    const std::string& command = args[i++];
    const std::size_t operands = args.size() - i;
    if (command == "send" && operands == 2) {
        line.command = Command::Send;
    } else if (command == "notify" && operands == 3) {
        line.command = Command::Notify;
        line.messageId = args[i + 2];
    } else if (command == "credits" && operands == 0) {
        line.command = Command::Credits;
    } else {
        error = "send takes NUMBER TEXT, notify NUMBER TEXT MESSAGEID, credits nothing";
        if (command != "send" && command != "notify" && command != "credits") {
            error = "unknown command " + command;
        }
        return std::nullopt;
    }
    if (line.command != Command::Credits) {
        line.number = args[i];
        line.text = args[i + 1];
    }
    line.login = login ? *login : fromEnvironment(environment, "QWIRL_LOGIN");
    line.password = password ? *password : fromEnvironment(environment, "QWIRL_PASSWORD");
    line.proxyPassword =
        proxyPassword ? *proxyPassword : fromEnvironment(environment, "QWIRL_PROXY_PASSWORD");
    return line;
}

} // namespace qwirl::cli
