#pragma once

#include "cli/command.h"

#include <memory>
#include <vector>

namespace parlix::cli {

// Every command of parlix-cli, in the order the help lists them.
Commands allCommands();

// Runs one command line (without the program name): "[--home DIR] COMMAND
// ARGS...", or "--help". The data folder is chosen as the window program
// chooses it and installed on first use.
int run(const QStringList& arguments, const Commands& commands, Console& console);

} // namespace parlix::cli
