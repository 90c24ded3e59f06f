#include "userfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parlix::userfile {

namespace {

// Following more links than this is a loop, as the kernel's own limit says.
constexpr int linkLimit = 40;

QString kindProblem(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("è una cartella, non un file");
    if (S_ISFIFO(mode))
        return QStringLiteral("è una FIFO (pipe con nome), non un file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("è un dispositivo, non un file");
    return QStringLiteral("non è un file regolare");
}

void tell(QString* problem, const QString& text)
{
    if (problem)
        *problem = text;
}

} // namespace

bool openForReading(const QString& path, QFile& file, QString* problem)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info = {};
    // A look before opening keeps devices from being opened at all; the
    // second look, on the descriptor, is the one that counts.
    if (::stat(native.constData(), &info) != 0) {
        tell(problem, errorText(errno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        tell(problem, kindProblem(info.st_mode));
        return false;
    }
    // O_NONBLOCK: a FIFO put in the file's place meanwhile opens at once.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        tell(problem, errorText(errno));
        return false;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        tell(problem, kindProblem(info.st_mode));
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        tell(problem, file.errorString());
        return false;
    }
    return true;
}

std::optional<QString> writeTarget(const QString& path, QString* problem)
{
    QString target = QFileInfo(path).absoluteFilePath();
    for (int followed = 0;; ++followed) {
        const QByteArray native = QFile::encodeName(target);
        struct stat info = {};
        if (::lstat(native.constData(), &info) != 0) {
            if (errno == ENOENT)
                return target; // a new file, or the missing target of a link
            tell(problem, errorText(errno));
            return std::nullopt;
        }
        if (S_ISREG(info.st_mode))
            return target;
        if (!S_ISLNK(info.st_mode)) {
            tell(problem, kindProblem(info.st_mode));
            return std::nullopt;
        }
        if (followed == linkLimit) {
            tell(problem, errorText(ELOOP));
            return std::nullopt;
        }
        char link[PATH_MAX];
        const ssize_t length = ::readlink(native.constData(), link, sizeof link - 1);
        if (length < 0) {
            tell(problem, errorText(errno));
            return std::nullopt;
        }
        const QString next = QFile::decodeName(QByteArray(link, length));
        // A relative link is read from the folder that holds it.
        target = QDir::cleanPath(QFileInfo(target).absoluteDir().absoluteFilePath(next));
    }
}

namespace {

QString withReason(QString message, const QString& reason)
{
    if (!reason.isEmpty())
        message += QStringLiteral(": ") + reason;
    return message;
}

} // namespace

QString unreadableMessage(const QString& file, const QString& reason)
{
    return withReason(QStringLiteral("Impossibile leggere il file ") + file, reason);
}

QString unwritableMessage(const QString& file, const QString& reason)
{
    return withReason(QStringLiteral("Impossibile scrivere il file ") + file, reason);
}

QString errorText(int code)
{
    switch (code) {
    case ENOSPC:
        return QStringLiteral("disco pieno");
    case EDQUOT:
        return QStringLiteral("disco pieno: spazio concesso all'utente esaurito");
    case EFBIG:
        return QStringLiteral("disco pieno: il file supera la dimensione massima consentita");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case ENOENT:
        return QStringLiteral("il file o la cartella non esiste");
    case ENOTDIR:
        return QStringLiteral("una parte del percorso non è una cartella");
    case EROFS:
        return QStringLiteral("il disco è di sola lettura");
    case ELOOP:
        return QStringLiteral("troppi collegamenti simbolici (forse in cerchio)");
    case EISDIR:
        return QStringLiteral("è una cartella, non un file");
    default:
        return QString::fromLocal8Bit(std::strerror(code));
    }
}

void reportFileSizeLimit()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace parlix::userfile
