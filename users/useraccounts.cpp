#include "useraccounts.h"

#include "users/usermessages.h"

namespace parlix {

UserAccounts::UserAccounts(const DataFolder& folder) : file_(folder) {}

AccountFile::Status UserAccounts::load()
{
    contents_ = file_.read();
    return contents_.status;
}

QStringList UserAccounts::names() const
{
    QStringList names;
    for (const AccountFile::Entry& entry : contents_.entries)
        names << entry.account.name;
    return names;
}

int UserAccounts::indexOf(const QString& name) const
{
    for (int i = 0; i < count(); ++i) {
        if (at(i).name == name)
            return i;
    }
    return -1;
}

bool UserAccounts::matches(const QString& name, const QString& password) const
{
    for (const AccountFile::Entry& entry : contents_.entries) {
        if (entry.account.name == name && entry.account.password == password)
            return true;
    }
    return false;
}

std::optional<QString> UserAccounts::refusalToChange() const
{
    if (contents_.status == AccountFile::Status::Unreadable)
        return usermessages::unreadableFile(path());
    return std::nullopt;
}

std::optional<QString> UserAccounts::add(const UserAccount& account)
{
    if (auto refusal = refusalToChange())
        return refusal;
    if (indexOf(account.name) >= 0)
        return usermessages::existingUser();
    if (count() >= kMaximum)
        return usermessages::tooManyUsers();
    const StoredLine stored = userrecord::store(account);
    if (!stored.ok())
        return stored.refusal;
    std::vector<AccountFile::Entry> entries = contents_.entries;
    entries.push_back({account, stored.line});
    return save(std::move(entries));
}

std::optional<QString> UserAccounts::change(int position, const UserAccount& account)
{
    if (auto refusal = refusalToChange())
        return refusal;
    if (position < 0 || position >= count())
        return usermessages::noUsers();
    const StoredLine stored = userrecord::store(account);
    if (!stored.ok())
        return stored.refusal;
    std::vector<AccountFile::Entry> entries = contents_.entries;
    entries[static_cast<std::size_t>(position)] = {account, stored.line};
    return save(std::move(entries));
}

std::optional<QString> UserAccounts::remove(int position)
{
    if (auto refusal = refusalToChange())
        return refusal;
    if (position < 0 || position >= count())
        return usermessages::noUsers();
    std::vector<AccountFile::Entry> entries = contents_.entries;
    entries.erase(entries.begin() + position);
    return save(std::move(entries));
}

bool UserAccounts::createEmpty()
{
    if (file_.read().status != AccountFile::Status::Missing)
        return true;
    if (!file_.write({}))
        return false;
    contents_ = {AccountFile::Status::Read, {}, {}};
    return true;
}

std::optional<QString> UserAccounts::save(std::vector<AccountFile::Entry> entries)
{
    QByteArrayList lines;
    for (const AccountFile::Entry& entry : entries)
        lines << entry.line;
    lines << contents_.damaged;
    QString reason;
    if (!file_.write(lines, &reason))
        return usermessages::unwritableFile(path(), reason);
    contents_.status = AccountFile::Status::Read;
    contents_.entries = std::move(entries);
    return std::nullopt;
}

} // namespace parlix
