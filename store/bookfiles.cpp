#include "bookfiles.h"

#include "store/storeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <functional>

#include <fcntl.h>
#include <unistd.h>

namespace parlix {

namespace {

const QString templateName = QStringLiteral("rubrica_base.mdb");
const QString booksName = QStringLiteral("rubriche");
const QString recordName = QStringLiteral("elenco.in-corso");
constexpr qint64 recordSizeLimit = 64 * 1024;

StoreError taken()
{
    return {StoreError::Code::Exists, QStringLiteral("Rubrica Esistente")};
}

// A name read back from the record stays a plain file name in "rubriche".
bool plain(const QString& name)
{
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(u'/') && !name.contains(u'\\') &&
           !name.contains(QChar(0));
}

bool present(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// Within one folder: one rename(), which QFile never lets replace a file.
bool move(const QString& from, const QString& to)
{
    return !present(to) && QFile::rename(from, to);
}

void syncFolder(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A change of the files. The record stays when neither finish() nor undo()
// gets through, so that repair() settles the change later.
class FileChange : public BookChange
{
public:
    FileChange(QString record, std::function<bool()> back, QString aside = {})
        : record_(std::move(record)), back_(std::move(back)), aside_(std::move(aside))
    {}

    void finish() override
    {
        if (!aside_.isEmpty() && !QFile::remove(aside_) && present(aside_))
            return;
        forget();
    }
    bool undo() override
    {
        if (!back_())
            return false;
        forget();
        return true;
    }

private:
    void forget()
    {
        if (!record_.isEmpty())
            QFile::remove(record_);
    }

    QString record_;
    std::function<bool()> back_;
    QString aside_;
};

// Nothing was touched: the book had no file.
std::unique_ptr<BookChange> noChange()
{
    return std::make_unique<FileChange>(QString(), [] { return true; });
}

} // namespace

QString entryIn(const QString& dir, const QString& name)
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

QString BookFiles::booksDir() const
{
    return entryIn(root_, booksName);
}

QString BookFiles::recordPath() const
{
    return root_ + u'/' + recordName;
}

QString BookFiles::setAsidePath() const
{
    return booksDir() + QStringLiteral("/.eliminata");
}

QString BookFiles::bookFile(const QString& name, const QStringList& others) const
{
    const QString exact = booksDir() + u'/' + name;
    if (QFileInfo(exact).isFile() && !QFileInfo(exact).isSymLink())
        return exact;
    const QString found = entryIn(booksDir(), name);
    if (!QFileInfo(found).isFile() || others.contains(QFileInfo(found).fileName()))
        return {};
    return found;
}

void BookFiles::record(const QStringList& lines)
{
    if (interrupted())
        throw StoreError::cannotOpen(recordPath());
    QSaveFile file(recordPath());
    const QByteArray text = (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw StoreError::cannotOpen(recordPath());
    syncFolder(root_);
}

void BookFiles::forget()
{
    QFile::remove(recordPath());
}

bool BookFiles::interrupted()
{
    return present(recordPath()) || present(setAsidePath());
}

bool BookFiles::exists(const QString& name)
{
    return QFileInfo(booksDir() + u'/' + name).isFile();
}

std::unique_ptr<BookChange> BookFiles::create(const QString& name)
{
    const QString dir = booksDir();
    const QString path = dir + u'/' + name;
    if (!QDir().mkpath(dir))
        throw StoreError::cannotOpen(dir);
    // A file of that name (in any case) may be a book whose row was lost:
    // it is never overwritten.
    if (present(entryIn(dir, name)) || present(path))
        throw taken();
    QFile source(entryIn(root_, templateName));
    if (!source.open(QIODevice::ReadOnly))
        throw StoreError::cannotOpen(source.fileName());
    record({QStringLiteral("create"), name});
    // The copy is written whole and on disk under a hidden temporary name,
    // then given its name by link(), which never replaces a file: a crash
    // leaves no half-copied book, only a temporary file that repair() clears.
    QTemporaryFile copy(dir + QStringLiteral("/.") + name + QStringLiteral(".XXXXXX"));
    const QByteArray bytes = source.readAll();
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush() || ::fsync(copy.handle()) != 0) {
        forget();
        throw StoreError::cannotOpen(path);
    }
    if (::link(QFile::encodeName(copy.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        const bool exists = errno == EEXIST;
        forget();
        if (exists)
            throw taken();
        throw StoreError::cannotOpen(path);
    }
    return std::make_unique<FileChange>(recordPath(),
                                        [path] { return QFile::remove(path) || !present(path); });
}

std::unique_ptr<BookChange> BookFiles::rename(const QString& from, const QString& to,
                                              const QStringList& listed)
{
    QStringList others = listed;
    others.removeAll(from);
    const QString oldFile = bookFile(from, others);
    if (oldFile.isEmpty())
        return noChange();
    const QString newFile = booksDir() + u'/' + to;
    if (present(entryIn(booksDir(), to)) || present(newFile))
        throw taken();
    record({QStringLiteral("rename"), from, to, QFileInfo(oldFile).fileName()});
    if (!move(oldFile, newFile)) {
        if (present(oldFile)) // else the record is the way back to it
            forget();
        throw StoreError::cannotOpen(oldFile);
    }
    return std::make_unique<FileChange>(recordPath(), [=] { return move(newFile, oldFile); });
}

std::unique_ptr<BookChange> BookFiles::drop(const QString& name, const QStringList& listed)
{
    QStringList others = listed;
    others.removeAll(name);
    const QString file = bookFile(name, others);
    if (file.isEmpty())
        return noChange();
    // The file first goes aside, so that until the rows are gone it can come back.
    record({QStringLiteral("delete"), name, QFileInfo(file).fileName()});
    const QString aside = setAsidePath();
    if (!move(file, aside)) {
        if (present(file))
            forget();
        throw StoreError::cannotOpen(file);
    }
    return std::make_unique<FileChange>(
        recordPath(), [=] { return move(aside, file); }, aside);
}

bool BookFiles::repair(const QStringList& listed)
{
    const QString dir = booksDir();
    QStringList lines;
    QFile file(recordPath());
    if (file.size() <= recordSizeLimit && file.open(QIODevice::ReadOnly))
        lines = QString::fromUtf8(file.readAll()).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    const QString kind = lines.value(0);
    const auto at = [&dir](const QString& name) { return dir + u'/' + name; };
    const QString aside = setAsidePath();
    bool settled = true;
    if (kind == u"create" && plain(lines.value(1))) {
        // The name was free, in any case, when the file was made.
        const QString made = at(lines.value(1));
        if (!listed.contains(lines.value(1)))
            settled = QFile::remove(made) || !present(made);
    } else if (kind == u"delete" && plain(lines.value(1)) && plain(lines.value(2))) {
        // Still listed: the file comes back from where it was set aside.
        if (listed.contains(lines.value(1)) && present(aside))
            settled = move(aside, at(lines.value(2)));
    } else if (kind == u"rename" && plain(lines.value(1)) && plain(lines.value(2)) && plain(lines.value(3))) {
        const QString from = lines.value(1);
        const QString to = lines.value(2);
        const QString onDisk = at(lines.value(3));
        if (listed.contains(to) && !listed.contains(from) && !present(at(to)) && present(onDisk))
            settled = move(onDisk, at(to));
        else if (listed.contains(from) && !listed.contains(to) && present(at(to)))
            settled = move(at(to), onDisk);
    }
    // A file that could not come back keeps the record and what was set
    // aside, for the next try: nothing is thrown away.
    if (!settled)
        return false;
    QFile::remove(aside);
    // Temporary files of an interrupted copy: hidden, so never a book's.
    static const QRegularExpression temporary(QStringLiteral("^\\..+\\.[A-Za-z0-9]{6}$"));
    for (const QString& entry : QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (temporary.match(entry).hasMatch())
            QFile::remove(at(entry));
    }
    QFile::remove(recordPath());
    return !interrupted();
}

} // namespace parlix
