#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

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
    QTextStream& out;
    QTextStream& err;
    QTextStream& in;
};

// One command of parlix-cli. It is given the installed data folder and the
// words after its name, and returns one of the exit statuses above.
class Command
{
public:
    virtual ~Command() = default;

    virtual QString name() const = 0;
    // The words after the name in the help text, e.g. "FILE [--book NOME]".
    virtual QString synopsis() const = 0;
    // One line for the help text.
    virtual QString description() const = 0;

    virtual int execute(const DataFolder& folder, const QStringList& arguments, Console& console) = 0;
};

} // namespace parlix::cli
