#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qwirl::cli {

// The command line of qwirl, read against its grammar (qwirl_grammar.h):
//   qwirl [options] send NUMBER TEXT
//   qwirl [options] notify NUMBER TEXT MESSAGEID
//   qwirl [options] credits
// Options may come anywhere; after "--" everything is an operand, so a TEXT may begin with "-". Login,
// password and proxy password may come from QWIRL_LOGIN, QWIRL_PASSWORD and QWIRL_PROXY_PASSWORD instead;
// an option wins.
struct CommandLine
{
    enum class Command { Send, Notify, Credits, Help, Version, DumpGrammar };

    Command command = Command::Help;
    std::string number;
    std::string text;
    std::string messageId;

    std::string login;
    std::string password;
    std::string sender;
    short quality = 2;
    bool flash = false;
    std::string proxy;
    std::string proxyLogin;
    std::string proxyPassword;

    using Environment = std::function<const char*(const char* name)>;

    // Nothing on bad usage, with the reason in `error`.
    static std::optional<CommandLine> parse(const std::vector<std::string>& args,
                                            const Environment& environment, std::string& error);
};

} // namespace qwirl::cli
