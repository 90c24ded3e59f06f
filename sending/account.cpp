#include "account.h"

#include "core/datafolder.h"
#include "core/textfile.h"
#include "sending/secretstore.h"

#include <atomic>

namespace parlix {

namespace {

std::atomic<SecretStore*> programStore{nullptr};

bool writeFile(const DataFolder& folder, const QString& login, const QString& password, int quality)
{
    return textfile::writeLines(folder.path(Account::fileName()), {login, password, QString::number(quality)},
                                textfile::Access::Secret);
}

} // namespace

void Account::setSecretStore(SecretStore* store)
{
    programStore = store;
}

SecretStore* Account::secretStore()
{
    return programStore;
}

Account Account::load(const DataFolder& folder)
{
    return load(folder, secretStore());
}

Account Account::load(const DataFolder& folder, SecretStore* store)
{
    Account account;
    const auto lines = textfile::readLines(folder.path(fileName()));
    if (!lines)
        return account;
    account.login = lines->value(0);
    account.password = lines->value(1);
    bool ok = false;
    const int quality = lines->value(2).trimmed().toInt(&ok);
    if (ok && quality >= 1 && quality <= 3)
        account.quality = quality;
    if (!store || account.login.isEmpty())
        return account;

    if (!account.password.isEmpty()) {
        // A password in the file: move it into the store. Should the file
        // not be rewritten, both hold the same password and the next read
        // tries again.
        if (store->write(secretKey(account.login), account.password))
            writeFile(folder, account.login, QString(), account.quality);
        return account;
    }
    const SecretStore::Lookup stored = store->read(secretKey(account.login));
    if (stored.status == SecretStore::Lookup::Status::Found)
        account.password = stored.secret;
    return account;
}

std::optional<QString> Account::problem() const
{
    const auto breaksLine = [](const QString& value) {
        return value.contains(u'\n') || value.contains(u'\r');
    };
    if (breaksLine(login) || breaksLine(password))
        return QStringLiteral("Il login e la password non possono contenere interruzioni di riga.");
    // A byte-order mark at the start of the file is dropped when it is read, so
    // a login beginning with one would lose it on every save; it has no
    // Windows-1252 code either, so the gateway could never be sent it.
    const auto invisibleStart = [](const QString& value) { return value.startsWith(QChar(0xFEFF)); };
    if (invisibleStart(login) || invisibleStart(password))
        return QStringLiteral(
            "Il login e la password non possono iniziare con un carattere invisibile (U+FEFF).");
    return std::nullopt;
}

bool Account::save(const DataFolder& folder) const
{
    return save(folder, secretStore());
}

bool Account::save(const DataFolder& folder, SecretStore* store) const
{
    if (problem())
        return false;
    if (!store || login.isEmpty())
        return writeFile(folder, login, password, quality);
    const bool inStore =
        password.isEmpty() ? store->remove(secretKey(login)) : store->write(secretKey(login), password);
    // Without the store the file keeps the password, readable by its owner only.
    return writeFile(folder, login, inStore ? QString() : password, quality);
}

} // namespace parlix
