#pragma once

#include <QString>

namespace parlix {

class DataFolder;

// The gateway account the SMS are sent from, kept in the data folder file
// "account" (readable by its owner only): the login, the password and the
// quality class, one per line.
struct Account
{
    static constexpr int DefaultQuality = 2;

    QString login;
    QString password;
    int quality = DefaultQuality; // 1 high, 2 normal, 3 low

    // Both login and password are set: the gateway can be asked at all.
    bool usable() const { return !login.isEmpty() && !password.isEmpty(); }

    // The stored account; an empty one when the file is missing. A quality
    // that is not 1, 2 or 3 reads as the default.
    static Account load(const DataFolder& folder);
    // Replaces the file atomically. False when it could not be written.
    bool save(const DataFolder& folder) const;

    static QString fileName() { return QStringLiteral("account"); }

    friend bool operator==(const Account&, const Account&) = default;
};

} // namespace parlix
