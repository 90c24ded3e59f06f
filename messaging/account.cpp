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

bool Account::save(const DataFolder& folder) const
{
    return textfile::writeLines(folder.path(fileName()), {login, password, QString::number(quality)},
                                textfile::Access::Secret);
}

} // namespace parlix
