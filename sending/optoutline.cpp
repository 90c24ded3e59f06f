#include "optoutline.h"

#include "core/datafolder.h"
#include "core/textfile.h"

#include <QFile>

namespace parlix {

QString OptOutLine::load(const DataFolder& folder)
{
    return textfile::readFirstLine(folder.path(fileName())).value_or(QString()).trimmed();
}

bool OptOutLine::save(const DataFolder& folder, const QString& line)
{
    const QString path = folder.path(fileName());
    const QString trimmed = line.simplified();
    if (trimmed.isEmpty())
        return !QFile::exists(path) || QFile::remove(path);
    return textfile::writeLines(path, {trimmed});
}

QString OptOutLine::appendTo(const QString& text, const QString& line)
{
    if (line.isEmpty() || text.endsWith(line))
        return text;
    // Line breaks in message texts are CR LF, as the composer keeps them.
    return text + QStringLiteral("\r\n") + line;
}

} // namespace parlix
