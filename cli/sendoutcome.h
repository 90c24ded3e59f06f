#pragma once

#include "cli/command.h"

#include <functional>

namespace parlix {
struct RunOutcome;
class ScheduledStore;
} // namespace parlix

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

// With --json, starts the run's "batches" empty, so a run that serves none still has the field.
void startBatchReport(Console& console);
// With --json, adds the batch to the run's "batches": book, batch, due, accepted, attempted, left and
// each recipient (number, state, result) as its journal tells it. Nothing without --json.
void addBatchReport(Console& console, ScheduledStore& store, const QString& book, qint64 id,
                    const RunOutcome& outcome);
// The fields of the "batches" objects, for the grammar of the commands that send.
FieldSpec batchesField();

// Shows "Inviati N di M" as the runner goes, when the console shows progress.
std::function<void(int, int)> sendProgress(Console& console);

// The worse of two statuses, for a command that runs several batches.
int worseStatus(int a, int b);

} // namespace parlix::cli
