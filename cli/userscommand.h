#pragma once

#include "cli/command.h"

namespace parlix {
class UserAccounts;
}

namespace parlix::cli {

// "users": the local users of the account file, with the account form's rules
// and messages. Passwords come from standard input, one line, never from the
// command line.
//   users list               name and level, tab-separated, one user per line
//   users add NAME LEVEL     LEVEL is 1 to 4 or the level's name
//   users remove NAME
//   users check NAME         Done when the password matches, Mismatch when not
class UsersCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("users"); }
    QString synopsis() const override;
    QString description() const override;
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;

private:
    int list(const UserAccounts& accounts, Console& console);
    int add(UserAccounts& accounts, const QStringList& arguments, Console& console);
    int remove(UserAccounts& accounts, const QString& user, Console& console);
    int check(const UserAccounts& accounts, const QString& user, Console& console);
};

} // namespace parlix::cli
