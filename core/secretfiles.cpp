#include "secretfiles.h"

#include "core/datafolder.h"
#include "core/userfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parlix {

QStringList tightenSecretFiles(const DataFolder& folder)
{
    QStringList notices;
    for (const char* name : {"account", "tempaccesso"}) {
        const QString path = folder.path(QString::fromLatin1(name));
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue; // missing, a link, or not ours to open
        struct stat info = {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 077) != 0) {
            const QString was = QString::number(info.st_mode & 0777, 8).rightJustified(4, u'0');
            if (::fchmod(fd, 0600) == 0)
                notices << QStringLiteral(
                               "Il file %1 era accessibile ad altri utenti (permessi %2): ora lo legge "
                               "solo il suo proprietario (0600).")
                               .arg(path, was);
            else
                notices << QStringLiteral("Il file %1 è accessibile ad altri utenti (permessi %2) e non si "
                                          "possono restringere i permessi: %3.")
                               .arg(path, was, userfile::errorText(errno));
        }
        ::close(fd);
    }
    return notices;
}

} // namespace parlix
