#pragma once

#include "cli/grammar.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>
#include <vector>

namespace parlix {
class DataFolder;
}

namespace parlix::cli {

// Exit statuses shared by every command.
enum Exit : int {
    Done = 0,
    Usage = 1,   // wrong words on the command line
    Failed = 2,  // an error: nothing (more) was done
    Stopped = 3, // the work stopped part-way; what was done before stays
    Mismatch = 4 // a check answered no (e.g. a password that does not match)
};

// The three streams of the console: results on `out`, Italian messages on
// `err`, secrets read from `in` (never from the command line).
struct Console
{
    Console(QTextStream& output, QTextStream& errors, QTextStream& input)
        : out(output), err(errors), in(input)
    {}

    QTextStream& out;
    QTextStream& err;
    QTextStream& in;
    // --json: the command puts its results in `report` instead of writing them on `out`; the object is
    // printed once, at the end of the run, with the exit status ("exit"). On `err` when the command's
    // own output goes to `out` (`reportOnErr`).
    bool json = false;
    QJsonObject report;
    bool reportOnErr = false;
    // Progress lines on `err`: on a terminal, unless -q. `quiet` also leaves out the send preview.
    bool progress = false;
    bool quiet = false;
    bool progressLineOpen = false; // a progress line is on `err` without its line end
};

// One command of parlix-cli. It is given the installed data folder and the
// words after its name, and returns one of the exit statuses above.
class Command
{
public:
    virtual ~Command() = default;

    virtual QString name() const = 0;
    // The words after the name in the usage line, e.g. "FILE [--book NOME]".
    virtual QString synopsis() const = 0;
    // One line for the help text.
    virtual QString description() const = 0;
    // The operands and options it accepts and the fields of its --json object: the command line is
    // checked against it before the data folder is touched, and the help, the manual page and the
    // shell completions are made from it.
    virtual CommandGrammar grammar() const = 0;
    // A further check of the words before anything is created; says why on `err` when they do not fit.
    virtual bool accepts(const QStringList& arguments, QTextStream& err) const
    {
        (void)arguments;
        (void)err;
        return true;
    }

    virtual int execute(const DataFolder& folder, const QStringList& arguments, Console& console) = 0;
};

using Commands = std::vector<std::unique_ptr<Command>>;

} // namespace parlix::cli
