#pragma once

#include "cli/command.h"

#include <optional>

namespace parlix::cli {

// The command line of parlix-cli read against the commands' own grammars. Global options may come
// anywhere, a command's options after its name; "--name=V" is "--name V"; after "--" every word is an
// operand; "help COMMAND" is
// "COMMAND --help". On bad usage gives nothing and says why in `error` (Italian); `command` is then the
// command named, if any, for its usage line.
std::optional<ParsedLine> parseLine(const QStringList& arguments, const Commands& commands, QString& error,
                                    Command*& command);

// "Uso: parlix-cli ..." for one command, or for the program when `command` is null.
QString usageText(const Command* command);
// The usage, then the commands (or the command's options and JSON fields), options and exit statuses.
QString helpText(const Commands& commands, const Command* command);
QString versionText();
// The grammar as one JSON object, in the format packaging/gen_docs.py reads.
QByteArray grammarJson(const Commands& commands);

} // namespace parlix::cli
