#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace parlix {

// One local user: name and password exactly as typed (compared exactly and
// case-sensitively) and the access level code ("1" to "4", or empty).
struct UserAccount
{
    QString name;
    QString password;
    QString level;

    bool operator==(const UserAccount&) const = default;
};

// A record on its way into the account file: the stored line, or the message
// that says why the file cannot hold it.
struct StoredLine
{
    QByteArray line;
    QString refusal;

    bool ok() const { return refusal.isEmpty(); }
};

namespace userrecord {

// The stored line of an account: "name,password,level" in Windows-1252,
// scrambled. Refused when a field holds a comma or a control character (the
// record is split at commas and stored one per line), a character that
// Windows-1252 lacks, or when the scrambling would pass byte 255.
StoredLine store(const UserAccount& account);
// The account of a stored line; nothing when the line is damaged (a byte
// unscrambles below 0, or it holds fewer than three fields). Fields after
// the third are ignored.
std::optional<UserAccount> read(const QByteArray& line);

} // namespace userrecord

} // namespace parlix
