#include "account.h"

#include "core/datafolder.h"
#include "core/textfile.h"

namespace parlix {

Account Account::load(const DataFolder& folder)
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
    return account;
}

std::optional<QString> Account::problem() const
{
    const auto breaksLine = [](const QString& value) {
        return value.contains(u'\n') || value.contains(u'\r');
    };
    if (breaksLine(login) || breaksLine(password))
        return QStringLiteral("Il login e la password non possono contenere interruzioni di riga.");
    return std::nullopt;
}

bool Account::save(const DataFolder& folder) const
{
    if (problem())
        return false;
    return textfile::writeLines(folder.path(fileName()), {login, password, QString::number(quality)},
                                textfile::Access::Secret);
}

} // namespace parlix
