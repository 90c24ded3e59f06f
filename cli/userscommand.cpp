#include "userscommand.h"

#include "cli/hiddeninput.h"
#include "cli/report.h"

#include "users/accesslevel.h"
#include "users/useraccounts.h"
#include "users/usermessages.h"

#include <QJsonArray>

namespace parlix::cli {

namespace {

QString readPassword(Console& console)
{
    const QString line = readHiddenLine(console.in, console.err, QStringLiteral("Password: "));
    return line.isNull() ? QString() : line;
}

} // namespace

QString UsersCommand::synopsis() const
{
    return QStringLiteral("list | add NOME LIVELLO | remove NOME | check NOME");
}

QString UsersCommand::description() const
{
    return QStringLiteral("gestisce gli utenti locali (LIVELLO: 1-4 o il nome del livello); "
                          "la password si legge dallo standard input");
}

CommandGrammar UsersCommand::grammar() const
{
    return {1,
            3,
            {},
            {{QStringLiteral("users"),
              QStringLiteral("con list: un oggetto per utente, con name (il nome) e level "
                             "(il livello)")}}};
}

bool UsersCommand::accepts(const QStringList& arguments, QTextStream&) const
{
    const QString action = arguments.value(0);
    const qsizetype words = arguments.size();
    return (action == QStringLiteral("list") && words == 1) ||
           (action == QStringLiteral("add") && words == 3) ||
           ((action == QStringLiteral("remove") || action == QStringLiteral("check")) && words == 2);
}

int UsersCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const QString action = arguments.value(0);
    UserAccounts accounts(folder);
    if (accounts.load() == AccountFile::Status::Unreadable) {
        console.err << usermessages::unreadableFile(accounts.path()) << '\n';
        return Failed;
    }
    if (accounts.damaged() > 0)
        console.err << usermessages::damagedEntries(accounts.damaged()) << '\n';

    if (action == QStringLiteral("list"))
        return list(accounts, console);
    if (action == QStringLiteral("add"))
        return add(accounts, arguments, console);
    if (action == QStringLiteral("remove"))
        return remove(accounts, arguments.at(1), console);
    return check(accounts, arguments.at(1), console);
}

int UsersCommand::list(const UserAccounts& accounts, Console& console)
{
    QJsonArray users;
    QString text;
    for (int i = 0; i < accounts.count(); ++i) {
        const UserAccount& account = accounts.at(i);
        const QString name = accesslevel::nameOfCode(account.level);
        const QString level = name.isEmpty() ? account.level : name;
        users.append(QJsonObject{{QStringLiteral("name"), account.name}, {QStringLiteral("level"), level}});
        text += account.name + u'\t' + level + u'\n';
    }
    report(console, {{QStringLiteral("users"), users}}, text);
    return Done;
}

int UsersCommand::add(UserAccounts& accounts, const QStringList& arguments, Console& console)
{
    const QString level = accesslevel::codeOfArgument(arguments.at(2));
    if (level.isEmpty()) {
        console.err << "Livello sconosciuto \"" << arguments.at(2)
                    << "\": 1 Administrator, 2 Power User, 3 User, 4 Guest\n";
        return Usage;
    }
    const UserAccount account{arguments.at(1), readPassword(console), level};
    // The account form accepts a user only with a name and a password.
    if (account.name.isEmpty() || account.password.isEmpty()) {
        console.err << "Servono un nome utente e una password (dallo standard input)\n";
        return Failed;
    }
    if (const auto refusal = accounts.add(account)) {
        console.err << *refusal << '\n';
        return Failed;
    }
    return Done;
}

int UsersCommand::remove(UserAccounts& accounts, const QString& user, Console& console)
{
    const int position = accounts.indexOf(user);
    if (position < 0) {
        console.err << "Utente non trovato: " << user << '\n';
        return Failed;
    }
    if (const auto refusal = accounts.remove(position)) {
        console.err << *refusal << '\n';
        return Failed;
    }
    return Done;
}

int UsersCommand::check(const UserAccounts& accounts, const QString& user, Console& console)
{
    if (accounts.matches(user, readPassword(console)))
        return Done;
    console.err << usermessages::wrongLogin() << '\n';
    return Mismatch;
}

} // namespace parlix::cli
