#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace parlix::textfile {

// Configuration files hold a line or a short list; anything larger is no file
// of ours and is not read into memory.
inline constexpr qint64 defaultSizeLimit = 1 << 20;

// Reads a whole text file. UTF-8 is expected; a file that is not valid UTF-8
// is taken as Windows-1252 (files brought over from a Windows installation).
// Nothing when the file is missing, unreadable, not a regular file (a FIFO, a
// device, a folder) or larger than `sizeLimit` bytes.
std::optional<QString> read(const QString& path, qint64 sizeLimit = defaultSizeLimit);
// The lines of a file; CR LF, LF and CR all end a line. A last line without a
// line end still counts; a final line end does not start another line.
std::optional<QStringList> readLines(const QString& path);
// The text up to the first line break, blanks kept.
std::optional<QString> readFirstLine(const QString& path);

enum class Access { Normal, Secret };
// Replaces the file with `bytes` whole or not at all: they go to a temporary
// file next to it, every write, the flush to disk and the close are checked,
// and only then does it take the file's place. On failure the old file stays
// as it was, the temporary file is removed and the reason is in `error` when
// given. Secret files are readable by their owner only. A link is written
// through: its final target is replaced and the link stays; a path that leads
// to a FIFO, a device or a folder is refused (see userfile.h).
bool writeWhole(const QString& path, const QByteArray& bytes, Access access = Access::Normal,
                QString* error = nullptr);
// A file written piece by piece that takes the place of `path` only when
// committed, with the guarantees of writeWhole: until then the pieces go to a
// temporary file next to it, which is removed when the writing fails or is
// given up (destroyed uncommitted). For files too large to hold in memory.
class ReplacingFile
{
public:
    enum class Placing { Replace, CreateOnly };

    explicit ReplacingFile(const QString& path, Access access = Access::Normal);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False once anything has failed; the reason is in error().
    bool write(const QByteArray& bytes);
    // Flushes to disk and puts the file in place (CreateOnly: only when no
    // file of that name has appeared meanwhile).
    bool commit(Placing placing = Placing::Replace);
    const QString& error() const { return error_; }

private:
    bool fail(int code);

    QString path_;
    QByteArray temporary_;
    int fd_ = -1;
    bool ok_ = true;
    QString error_;
};

// Like writeWhole, but for a file that must not exist yet: when one appears
// under that name meanwhile it is left alone and this fails.
bool createWhole(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Replaces the file with these lines, in UTF-8, each ended by CR LF, as writeWhole.
bool writeLines(const QString& path, const QStringList& lines, Access access = Access::Normal,
                QString* error = nullptr);
// Rewrites the first line of an existing regular file in place, for a value
// rewritten after every step of a long task: no new file and no rename, and
// no wait for the disk, so it stays cheap. The line and its CR LF go in with
// one write before the file is cut to them, so a process killed in between
// leaves the new line first (readers of such files take only the first line).
// False, with nothing changed, when the file is missing, a link or not a
// regular file: writeLines then.
bool rewriteFirstLine(const QString& path, const QString& line);

} // namespace parlix::textfile
