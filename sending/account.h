#pragma once

#include <QString>

#include <optional>

namespace parlix {

class DataFolder;
class SecretStore;

// The gateway account the SMS are sent from, kept in the data folder file
// "account" (readable by its owner only): the login, the password and the
// quality class, one per line.
//
// When a secret store is set (the desktop's keyring), the password lives
// there under the login and the file's password line stays empty. A password
// still found in the file is moved into the store the first time the account
// is read with the store answering; while the store cannot be reached the file
// keeps the password, as it always did.
struct Account
{
    static constexpr int DefaultQuality = 2;

    QString login;
    QString password;
    int quality = DefaultQuality; // 1 high, 2 normal, 3 low

    // Both login and password are set: the gateway can be asked at all.
    bool usable() const { return !login.isEmpty() && !password.isEmpty(); }

    // Why this account cannot be stored, in words for the user; nothing when
    // it can. The file holds one value a line, so a line break pasted into the
    // login or the password would shift every value after it; neither may
    // begin with an invisible U+FEFF (a byte-order mark).
    std::optional<QString> problem() const;

    // The stored account; an empty one when the file is missing. A quality
    // that is not 1, 2 or 3 reads as the default.
    static Account load(const DataFolder& folder);
    static Account load(const DataFolder& folder, SecretStore* store);
    // Replaces the file whole or not at all. False when it could not be
    // written or has a problem(), the old file being kept either way.
    bool save(const DataFolder& folder) const;
    bool save(const DataFolder& folder, SecretStore* store) const;

    static QString fileName() { return QStringLiteral("account"); }
    // The key of the password in the secret store.
    static QString secretKey(const QString& login) { return QStringLiteral("gateway:") + login; }

    // The store load() and save() use without one given; none at first. The
    // program sets it once at start-up, before any account is read.
    static void setSecretStore(SecretStore* store);
    static SecretStore* secretStore();

    friend bool operator==(const Account&, const Account&) = default;
};

} // namespace parlix
