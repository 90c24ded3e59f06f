#pragma once

#include "cli/command.h"

#include <memory>
#include <vector>

namespace parlix::cli {

// Every command of parlix-cli, in the order the help, the manual page and the completions list them.
// A command is one class deriving from Command (cli/command.h) that declares its name, synopsis,
// description and grammar() (operands, options, JSON fields), plus one line in allCommands(); the parser, its
// help, the manual page and the completions follow from that declaration.
Commands allCommands();

// Runs one command line (without the program name) against the commands' grammars: a line that does
// not fit is refused (Usage) before the data folder is touched; otherwise the data folder is chosen as
// the window program chooses it, installed on first use, and the command runs. With --json the run's
// JSON object is printed at the end.
int run(const QStringList& arguments, const Commands& commands, Console& console);

} // namespace parlix::cli
