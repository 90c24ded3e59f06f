#include "cli/commandline.h"
#include "sending/account.h"
#include "sending/keychainstore.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The gateway password where the window keeps it: the desktop's keyring, else the account file.
    parlix::KeychainStore keychain;
    parlix::Account::setSecretStore(&keychain);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    parlix::cli::Console console{out, err, in};
    // Progress only for a person watching, never into a log or a pipe.
    console.progress = ::isatty(STDERR_FILENO) == 1;
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return parlix::cli::run(arguments, parlix::cli::allCommands(), console);
}
