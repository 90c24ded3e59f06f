#pragma once

#include "cli/command.h"
#include "transfer/progress.h"

namespace parlix::cli {

// A command's results: with --json, `fields` go into the run's JSON object; otherwise `text` goes to the
// standard output.
void report(Console& console, const QJsonObject& fields, const QString& text);

// One progress line on standard error, written over the last one, when the console shows progress (a
// terminal, without -q); `done` ends the line.
void showProgress(Console& console, const QString& line, bool done = false);

// Ends a progress line left open, so what follows on standard error starts on a line of its own.
void endProgress(Console& console);

// A progress callback of the imports that shows "`what`: done di total" (or "done" when the total is
// not known) through showProgress.
Progress transferProgress(Console& console, const QString& what);

} // namespace parlix::cli
