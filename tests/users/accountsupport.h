#pragma once

#include "users/useraccount.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <vector>

namespace parlix::test {

// The bytes of a file, or "<missing>".
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// An account file holding these accounts, in this order, as the program
// stores them.
inline QByteArray storedFile(const std::vector<UserAccount>& accounts)
{
    QByteArray bytes;
    for (const UserAccount& account : accounts)
        bytes += userrecord::store(account).line + "\r\n";
    return bytes;
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace parlix::test
