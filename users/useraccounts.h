#pragma once

#include "users/accountfile.h"

#include <QStringList>

#include <optional>

namespace parlix {

// The list of local users as the account file holds it, in file order, and
// the changes made to it. Every change rewrites the whole file and takes
// effect here only once the file holds it; a refused or failed change leaves
// both as they were and gives the message to show.
class UserAccounts
{
public:
    // The account form keeps at most this many.
    static constexpr int kMaximum = 1001;

    explicit UserAccounts(const DataFolder& folder);

    // Reads the file afresh; a missing file is an empty list. While the file
    // cannot be read, every change is refused so that it is not replaced.
    AccountFile::Status load();
    AccountFile::Status status() const { return contents_.status; }
    const QString& path() const { return file_.path(); }

    int count() const { return static_cast<int>(contents_.entries.size()); }
    const UserAccount& at(int position) const { return contents_.entries.at(position).account; }
    QStringList names() const;
    // Stored lines that are not records; they stay in the file.
    int damaged() const { return static_cast<int>(contents_.damaged.size()); }
    // The first account with exactly this name, or -1.
    int indexOf(const QString& name) const;
    // True when an account has exactly this name and password.
    bool matches(const QString& name, const QString& password) const;

    // Appends an account unless its name is taken exactly.
    std::optional<QString> add(const UserAccount& account);
    // Replaces the account at `position`; the new name may be one another account has.
    std::optional<QString> change(int position, const UserAccount& account);
    std::optional<QString> remove(int position);
    // Creates the file empty when it is missing (a first start at login).
    bool createEmpty();

private:
    std::optional<QString> save(std::vector<AccountFile::Entry> entries);
    std::optional<QString> refusalToChange() const;

    AccountFile file_;
    AccountFile::Contents contents_;
};

} // namespace parlix
