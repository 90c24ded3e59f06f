#include "consolerun.h"

#include "cli/commandline.h"

#include <QTextStream>

namespace parlix::test {

Outcome runLine(const QStringList& arguments, const QString& input)
{
    QString out, err, in = input;
    QTextStream outStream(&out), errStream(&err), inStream(&in);
    cli::Console console{outStream, errStream, inStream};
    const int status = cli::run(arguments, cli::allCommands(), console);
    outStream.flush();
    errStream.flush();
    return {status, out, err};
}

} // namespace parlix::test
