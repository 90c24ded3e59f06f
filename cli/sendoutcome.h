#pragma once

#include "cli/command.h"

namespace parlix {
struct RunOutcome;
}

namespace parlix::cli {

// Prints how a batch went ("Inviati N di M", the refusals, or why nothing
// was sent) and gives the exit status: Done when every SMS was accepted,
// Stopped (3) when some were refused, Failed when nothing was sent.
int reportOutcome(const RunOutcome& outcome, const QStringList& refusals, Console& console);

// The worse of two statuses, for a command that runs several batches.
int worseStatus(int a, int b);

} // namespace parlix::cli
