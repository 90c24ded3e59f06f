#include "filestore.h"

#include "store/archivewatch.h"
#include "store/schema.h"
#include "store/sqlitedatabase.h"
#include "store/storeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>

#include <unistd.h>

namespace parlix {

namespace {
const QString bookListName = QStringLiteral("elenco.mdb");
const QString templateName = QStringLiteral("rubrica_base.mdb");
const QString booksName = QStringLiteral("rubriche");
} // namespace

std::shared_ptr<Store> Store::files(const QString& root)
{
    return std::make_shared<FileStore>(root);
}

std::unique_ptr<ArchiveWatch> FileStore::watch(const QString&, const QString&)
{
    return std::make_unique<ArchiveWatch>();
}

QString FileStore::child(const QString& dir, const QString& name)
{
    const QString exact = dir + u'/' + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir + u'/' + entry;
    }
    return exact;
}

QString FileStore::bookFile(const QString& name) const
{
    return child(child(root_, booksName), name);
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
    QDir().mkpath(child(root_, booksName));
    const QString list = child(root_, bookListName);
    if (!QFileInfo::exists(list))
        schema::createBookList(list, {QStringLiteral("Principale")});
    const QString base = child(root_, templateName);
    if (!QFileInfo::exists(base))
        schema::createBook(base);
    const QString principale = bookFile(QStringLiteral("Principale"));
    if (!QFileInfo::exists(principale))
        schema::createBook(principale);
}

bool FileStore::exists(const QString& name)
{
    return QFileInfo(child(root_, booksName) + u'/' + name).isFile();
}

void FileStore::create(const QString& name)
{
    const QString dir = child(root_, booksName);
    const QString path = dir + u'/' + name;
    if (QFileInfo::exists(bookFile(name)) || QFileInfo(path).isSymLink())
        throw StoreError(StoreError::Code::Exists, QStringLiteral("Rubrica Esistente"));
    QFile source(child(root_, templateName));
    if (!QDir().mkpath(dir) || !source.open(QIODevice::ReadOnly))
        throw StoreError::cannotOpen(source.fileName());
    // The copy is written whole and on disk under a hidden temporary name,
    // then given its name by link(), which never replaces a file: a crash
    // leaves no half-copied book, only a temporary file that the next start
    // clears away.
    QTemporaryFile copy(dir + QStringLiteral("/.") + name + QStringLiteral(".XXXXXX"));
    const QByteArray bytes = source.readAll();
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush() || ::fsync(copy.handle()) != 0)
        throw StoreError::cannotOpen(path);
    if (::link(QFile::encodeName(copy.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        if (errno == EEXIST)
            throw StoreError(StoreError::Code::Exists, QStringLiteral("Rubrica Esistente"));
        throw StoreError::cannotOpen(path);
    }
}

void FileStore::rename(const QString& from, const QString& to)
{
    const QString dir = child(root_, booksName);
    if (QFileInfo::exists(bookFile(to)))
        throw StoreError(StoreError::Code::Exists, QStringLiteral("Rubrica Esistente"));
    if (!QFile::rename(dir + u'/' + from, dir + u'/' + to))
        throw StoreError::cannotOpen(dir + u'/' + from);
}

void FileStore::drop(const QString& name)
{
    QFile::remove(child(root_, booksName) + u'/' + name);
}

} // namespace parlix
