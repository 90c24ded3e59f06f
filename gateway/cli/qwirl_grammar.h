#pragma once

#include "grammar.h"

namespace qwirl::cli {

// The command line of qwirl: its options, commands, environment, files and exit statuses.
const Grammar& qwirlGrammar();

} // namespace qwirl::cli
