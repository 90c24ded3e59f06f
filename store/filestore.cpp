#include "filestore.h"

#include "store/archivewatch.h"
#include "store/schema.h"
#include "store/sqlitedatabase.h"

#include <QDir>
#include <QFileInfo>

namespace parlix {

namespace {
const QString bookListName = QStringLiteral("elenco.mdb");
const QString templateName = QStringLiteral("rubrica_base.mdb");
} // namespace

std::shared_ptr<Store> Store::files(const QString& root)
{
    return std::make_shared<FileStore>(root);
}

std::unique_ptr<ArchiveWatch> FileStore::watch(const QString&, const QString&)
{
    return std::make_unique<ArchiveWatch>();
}

std::shared_ptr<Database> FileStore::open(const QString& path)
{
    return SqliteDatabase::open(path);
}

QString FileStore::description() const
{
    return QStringLiteral("file SQLite nella cartella %1").arg(QDir::toNativeSeparators(root_));
}

void FileStore::prepare()
{
    QDir().mkpath(books_.booksDir());
    const QString list = entryIn(root_, bookListName);
    if (!QFileInfo::exists(list))
        schema::createBookList(list, {QStringLiteral("Principale")});
    const QString base = entryIn(root_, templateName);
    if (!QFileInfo::exists(base))
        schema::createBook(base);
    const QString principale = entryIn(books_.booksDir(), QStringLiteral("Principale"));
    if (!QFileInfo::exists(principale))
        schema::createBook(principale);
}

} // namespace parlix
