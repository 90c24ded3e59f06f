#include "storechoice.h"

#include "core/datafolder.h"
#include "core/textfile.h"
#include "store/store.h"

namespace parlix {

QString sharedStoreAddress(const DataFolder& folder)
{
    return textfile::readFirstLine(folder.path(QStringLiteral("archivio"))).value_or(QString()).trimmed();
}

std::shared_ptr<Store> chooseStore(const DataFolder& folder)
{
    const QString address = sharedStoreAddress(folder);
    if (address.isEmpty())
        return Store::files(folder.root());
    return Store::postgres(address, folder.root());
}

} // namespace parlix
