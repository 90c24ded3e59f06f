#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parlix::textfile {

namespace {

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Closes a descriptor once, whatever path leaves the scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and tells whether the close succeeded (NFS and some full
    // disks only report a failed write here).
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::optional<QByteArray> readBytes(const QString& path, qint64 sizeLimit)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; the descriptor is
    // checked to be a regular file before anything is read.
    Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    struct stat info = {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > sizeLimit)
        return std::nullopt;
    QByteArray bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        bytes.append(buffer, got);
        // The file may grow while it is read.
        if (bytes.size() > sizeLimit)
            return std::nullopt;
    }
    return bytes;
}

// A file that is replaced keeps its permissions; a new one gets what the
// user's umask allows, as any other program's would.
mode_t normalMode(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return info.st_mode & 07777;
    static const mode_t mask = [] {
        const mode_t current = ::umask(022);
        ::umask(current);
        return current;
    }();
    return 0666 & ~mask;
}

bool writeAll(int fd, const QByteArray& bytes, QString* error)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (error)
                *error = systemError(written < 0 ? errno : ENOSPC);
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

std::optional<QString> read(const QString& path, qint64 sizeLimit)
{
    auto bytes = readBytes(path, sizeLimit);
    if (!bytes)
        return std::nullopt;
    if (bytes->startsWith("\xEF\xBB\xBF"))
        bytes->remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(*bytes);
    if (!utf8.hasError())
        return text;
    // Qt knows this code page through ICU, and only by this name.
    QStringDecoder ansi("windows-1252");
    if (ansi.isValid())
        return QString(ansi.decode(*bytes));
    return QString::fromLatin1(*bytes);
}

std::optional<QStringList> readLines(const QString& path)
{
    const auto text = read(path);
    if (!text)
        return std::nullopt;
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text->size(); ++i) {
        const QChar c = text->at(i);
        if (c == u'\r' || c == u'\n') {
            lines << line;
            line.clear();
            if (c == u'\r' && i + 1 < text->size() && text->at(i + 1) == u'\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

std::optional<QString> readFirstLine(const QString& path)
{
    const auto text = read(path);
    if (!text)
        return std::nullopt;
    qsizetype end = 0;
    while (end < text->size() && text->at(end) != u'\r' && text->at(end) != u'\n')
        ++end;
    return text->left(end);
}

namespace {

enum class Placing { Replace, CreateOnly };

bool putInPlace(const QString& path, const QByteArray& bytes, Access access, Placing placing, QString* error)
{
    // The temporary file lives in the same folder, so the final rename never
    // crosses file systems and either happens whole or not at all.
    const QFileInfo target(path);
    QByteArray pattern = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                                           QStringLiteral(".XXXXXX"));
    Descriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd.valid()) {
        if (error)
            *error = systemError(errno);
        return false;
    }
    const QByteArray temporary = pattern;
    bool ok = ::fchmod(fd.get(), access == Access::Secret ? 0600 : normalMode(path)) == 0;
    if (!ok && error)
        *error = systemError(errno);
    ok = ok && writeAll(fd.get(), bytes, error);
    if (ok && ::fsync(fd.get()) != 0) {
        ok = false;
        if (error)
            *error = systemError(errno);
    }
    if (!fd.close() && ok) {
        ok = false;
        if (error)
            *error = systemError(errno);
    }
    const QByteArray native = QFile::encodeName(path);
    // link() never replaces an existing name; rename() replaces it atomically.
    const auto place = [&] {
        return placing == Placing::CreateOnly ? ::link(temporary.constData(), native.constData())
                                              : ::rename(temporary.constData(), native.constData());
    };
    if (ok && place() != 0) {
        ok = false;
        if (error)
            *error = systemError(errno);
    }
    if (!ok || placing == Placing::CreateOnly)
        ::unlink(temporary.constData());
    return ok;
}

} // namespace

bool writeWhole(const QString& path, const QByteArray& bytes, Access access, QString* error)
{
    return putInPlace(path, bytes, access, Placing::Replace, error);
}

bool createWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    return putInPlace(path, bytes, Access::Normal, Placing::CreateOnly, error);
}

bool writeLines(const QString& path, const QStringList& lines, Access access, QString* error)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return writeWhole(path, bytes, access, error);
}

bool rewriteFirstLine(const QString& path, const QString& line)
{
    Descriptor fd(
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return false;
    struct stat info = {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const QByteArray bytes = line.toUtf8() + "\r\n";
    if (::pwrite(fd.get(), bytes.constData(), size_t(bytes.size()), 0) != bytes.size())
        return false;
    return ::ftruncate(fd.get(), bytes.size()) == 0 && fd.close();
}

} // namespace parlix::textfile
