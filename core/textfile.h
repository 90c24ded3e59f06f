#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace parlix::textfile {

// Reads a whole text file. UTF-8 is expected; a file that is not valid UTF-8
// is taken as Windows-1252 (files brought over from a Windows installation).
// Nothing when the file is missing or unreadable.
std::optional<QString> read(const QString& path);
// The lines of a file; CR LF, LF and CR all end a line. A last line without a
// line end still counts; a final line end does not start another line.
std::optional<QStringList> readLines(const QString& path);
// The text up to the first line break, blanks kept.
std::optional<QString> readFirstLine(const QString& path);

enum class Access { Normal, Secret };
// Replaces the file atomically with these lines, in UTF-8, each ended by CR LF.
// Secret files are readable by their owner only. False when it could not be written.
bool writeLines(const QString& path, const QStringList& lines, Access access = Access::Normal);
// Replaces the file atomically with these bytes, as they are (files whose
// format fixes the bytes themselves). False when it could not be written.
bool writeBytes(const QString& path, const QByteArray& content, Access access = Access::Normal);

} // namespace parlix::textfile
