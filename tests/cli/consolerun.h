#pragma once

#include <QString>
#include <QStringList>

namespace parlix::test {

// What one run of the console tool's commands gave.
struct Outcome
{
    int status;
    QString out;
    QString err;
};

// Runs the console tool's commands in this process, `input` standing for
// standard input.
Outcome runLine(const QStringList& arguments, const QString& input = {});

} // namespace parlix::test
