#include "textfile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace parlix::textfile {

std::optional<QString> read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Qt knows this code page through ICU, and only by this name.
    QStringDecoder ansi("windows-1252");
    if (ansi.isValid())
        return QString(ansi.decode(bytes));
    return QString::fromLatin1(bytes);
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

bool writeLines(const QString& path, const QStringList& lines, Access access)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (access == Access::Secret)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    for (const QString& line : lines) {
        file.write(line.toUtf8());
        file.write("\r\n");
    }
    return file.commit();
}

bool writeBytes(const QString& path, const QByteArray& content, Access access)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (access == Access::Secret)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace parlix::textfile
