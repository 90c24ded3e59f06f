#include "textfile.h"

#include "core/userfile.h"

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
    return userfile::errorText(code);
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

ReplacingFile::ReplacingFile(const QString& path, Access access)
{
    // A link keeps pointing where it did: its target is what gets replaced.
    const auto placed = userfile::writeTarget(path, &error_);
    if (!placed) {
        ok_ = false;
        return;
    }
    path_ = *placed;
    // The temporary file lives in the same folder, so the final rename never
    // crosses file systems and either happens whole or not at all.
    const QFileInfo target(path_);
    temporary_ = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                                   QStringLiteral(".XXXXXX"));
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        temporary_.clear();
        fail(errno);
    } else if (::fchmod(fd_, access == Access::Secret ? 0600 : normalMode(path_)) != 0) {
        fail(errno);
    }
}

ReplacingFile::~ReplacingFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
}

bool ReplacingFile::fail(int code)
{
    if (ok_)
        error_ = systemError(code);
    ok_ = false;
    return false;
}

bool ReplacingFile::write(const QByteArray& bytes)
{
    if (ok_ && !writeAll(fd_, bytes, &error_))
        ok_ = false;
    return ok_;
}

bool ReplacingFile::commit(Placing placing)
{
    if (!ok_)
        return false;
    if (::fsync(fd_) != 0)
        return fail(errno);
    // NFS and some full disks only report a failed write at the close.
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0)
        return fail(errno);
    const QByteArray native = QFile::encodeName(path_);
    // link() never replaces an existing name; rename() replaces it atomically.
    if (placing == Placing::CreateOnly) {
        if (::link(temporary_.constData(), native.constData()) != 0)
            return fail(errno);
        return true; // the temporary name goes with the destructor
    }
    if (::rename(temporary_.constData(), native.constData()) != 0)
        return fail(errno);
    temporary_.clear();
    return true;
}

namespace {

bool putInPlace(const QString& path, const QByteArray& bytes, Access access, ReplacingFile::Placing placing,
                QString* error)
{
    ReplacingFile file(path, access);
    const bool ok = file.write(bytes) && file.commit(placing);
    if (!ok && error)
        *error = file.error();
    return ok;
}

} // namespace

bool writeWhole(const QString& path, const QByteArray& bytes, Access access, QString* error)
{
    return putInPlace(path, bytes, access, ReplacingFile::Placing::Replace, error);
}

bool createWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    return putInPlace(path, bytes, Access::Normal, ReplacingFile::Placing::CreateOnly, error);
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
