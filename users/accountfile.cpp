#include "accountfile.h"

#include "core/textfile.h"

#include <QFile>
#include <QFileInfo>

namespace parlix {

AccountFile::AccountFile(const DataFolder& folder) : path_(folder.path(QStringLiteral("tempaccesso"))) {}

AccountFile::Contents AccountFile::read() const
{
    Contents contents;
    QFile file(path_);
    if (!file.exists())
        return contents;
    // A folder or a pipe in its place is no account file (and a pipe would
    // keep the open waiting).
    if (!QFileInfo(path_).isFile() || !file.open(QIODevice::ReadOnly)) {
        contents.status = Status::Unreadable;
        return contents;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        contents.status = Status::Unreadable;
        return contents;
    }
    contents.status = Status::Read;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
            ++end;
        const QByteArray line = bytes.mid(start, end - start);
        if (end < bytes.size() && bytes.at(end) == '\r' && end + 1 < bytes.size() &&
            bytes.at(end + 1) == '\n')
            ++end;
        start = end + 1;
        if (line.isEmpty())
            continue;
        if (const auto account = userrecord::read(line))
            contents.entries.push_back({*account, line});
        else
            contents.damaged << line;
    }
    return contents;
}

bool AccountFile::write(const QByteArrayList& lines, QString* error) const
{
    QByteArray content;
    for (const QByteArray& line : lines)
        content += line + "\r\n";
    return textfile::writeWhole(path_, content, textfile::Access::Secret, error);
}

} // namespace parlix
