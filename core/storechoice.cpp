#include "storechoice.h"

#include "core/datafolder.h"
#include "core/textfile.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QDir>
#include <QFileInfo>

namespace parlix {

namespace {

QString archivioPath(const DataFolder& folder)
{
    return folder.path(QStringLiteral("archivio"));
}

} // namespace

std::optional<QString> storeChoiceProblem(const DataFolder& folder)
{
    const QString path = archivioPath(folder);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    if (textfile::read(path))
        return std::nullopt;
    QString reason;
    if (!info.exists())
        reason = QStringLiteral("è un collegamento a un file che non c'è");
    else if (!info.isFile())
        reason = QStringLiteral("non è un file normale");
    else if (info.size() > textfile::defaultSizeLimit)
        reason = QStringLiteral("è più grande di 1 MiB");
    else
        reason = QStringLiteral("non si hanno i permessi per leggerlo");
    return QStringLiteral("Il file \"%1\", che indica l'archivio condiviso, non si può leggere: %2. "
                          "Correggerlo o toglierlo: Parlix non lavora sui file locali al suo posto.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString sharedStoreAddress(const DataFolder& folder)
{
    if (const auto problem = storeChoiceProblem(folder))
        throw StoreError(StoreError::Code::CannotOpen, *problem);
    return textfile::readFirstLine(archivioPath(folder)).value_or(QString()).trimmed();
}

std::shared_ptr<Store> chooseStore(const DataFolder& folder)
{
    const QString address = sharedStoreAddress(folder);
    if (address.isEmpty())
        return Store::files(folder.root());
    return Store::postgres(address, folder.root());
}

} // namespace parlix
