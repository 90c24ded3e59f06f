#pragma once

#include <QString>

#include <optional>

class QFile;

namespace parlix::userfile {

// Files the user names (imports, exports) may be anything: a link, a FIFO, a
// device, a folder. A link is followed to its final target, which is what
// gets read or replaced, the link itself kept; anything that is not a regular
// file is refused, since reading a FIFO would wait for a writer and
// replacing a device or a FIFO by a file would destroy it.

// Opens a regular file (through any links) for reading, without ever
// waiting on a FIFO. On failure returns false with the reason, in Italian,
// in `problem`.
bool openForReading(const QString& path, QFile& file, QString* problem = nullptr);

// The file a write to `path` replaces: `path` itself, or the final target of
// the links it leads through (which need not exist yet). Nothing, with the
// reason in `problem`, when that is something other than a regular file or
// the links go round in circles.
std::optional<QString> writeTarget(const QString& path, QString* problem = nullptr);

// "Impossibile leggere il file FILE: REASON", the reason when there is one.
QString unreadableMessage(const QString& file, const QString& reason);
// "Impossibile scrivere il file FILE: REASON", likewise.
QString unwritableMessage(const QString& file, const QString& reason);

// What a system error code means, in the program's language, for the codes
// a user can mend (a full disk, a size limit, permissions); strerror() otherwise.
QString errorText(int code);

// From now on a write beyond the file-size limit (ulimit -f) fails with an
// error the program reports, instead of ending the process by SIGXFSZ in the
// middle of a file.
void reportFileSizeLimit();

} // namespace parlix::userfile
