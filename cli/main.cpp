#include "cli/commandline.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    parlix::cli::Console console{out, err, in};
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return parlix::cli::run(arguments, parlix::cli::allCommands(), console);
}
