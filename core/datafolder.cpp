#include "datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace parlix {

DataFolder::DataFolder(QString root) : root_(QDir::cleanPath(std::move(root))) {}

QString DataFolder::defaultRoot(const QStringList& arguments)
{
    const qsizetype home = arguments.indexOf(QStringLiteral("--home"));
    if (home >= 0 && home + 1 < arguments.size())
        return QDir(arguments[home + 1]).absolutePath();
    const QString env = qEnvironmentVariable("PARLIX_HOME");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (xdg.isEmpty())
        xdg = QDir::homePath() + QStringLiteral("/.local/share");
    return xdg + QStringLiteral("/parlix");
}

QString DataFolder::path(const QString& name) const
{
    QString current = root_;
    const QStringList parts = name.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QString next = current + u'/' + part;
        if (!QFileInfo::exists(next)) {
            const QStringList entries = QDir(current).entryList(QDir::AllEntries | QDir::Hidden |
                                                                QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    next = current + u'/' + entry;
                    break;
                }
            }
        }
        current = next;
    }
    return current;
}

QString DataFolder::bookList() const
{
    return path(QStringLiteral("elenco.mdb"));
}

QString DataFolder::bookTemplate() const
{
    return path(QStringLiteral("rubrica_base.mdb"));
}

QString DataFolder::booksDir() const
{
    return path(QStringLiteral("rubriche"));
}

QString DataFolder::bookPath(const QString& book) const
{
    // A book is a plain file right inside "rubriche". A name read from the
    // book list that would climb out of it, or a link that leads elsewhere,
    // gives no path at all, so nothing outside the folder is ever opened,
    // moved or deleted on its behalf.
    if (book.isEmpty() || book == u"." || book == u".." || book.contains(u'/') || book.contains(u'\\') ||
        book.contains(QChar(0)))
        return {};
    const QString found = path(QStringLiteral("rubriche/") + book);
    const QFileInfo info(found);
    if (info.exists() || info.isSymLink()) {
        const QString canonical = info.canonicalFilePath();
        if (canonical.isEmpty() ||
            QFileInfo(canonical).absolutePath() != QFileInfo(booksDir()).canonicalFilePath())
            return {};
    }
    return found;
}

} // namespace parlix
