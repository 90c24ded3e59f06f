#pragma once

#include "cli/command.h"

namespace parlix {
struct RunOutcome;
}

namespace parlix::cli {

// What a batch left behind, read from its journal after the run.
struct BatchLeftovers
{
    QStringList refusals; // "number: code"
    QStringList inDoubt;  // "number: code"
    QString resume;       // the command that serves the recipients still waiting
    QString resend;       // the command that sends again to the refused ones
};

// Prints how a batch went ("Inviati N di M", the refusals, the recipients in
// doubt, why the run stopped and how to go on, or why nothing was sent) and
// gives the exit status: Done when every SMS was accepted, Stopped (3) when
// some were refused or in doubt or the run stopped part-way, Failed when
// nothing was sent.
int reportOutcome(const RunOutcome& outcome, const BatchLeftovers& leftovers, Console& console);

// The worse of two statuses, for a command that runs several batches.
int worseStatus(int a, int b);

} // namespace parlix::cli
