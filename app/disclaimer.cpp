#include "disclaimer.h"

#include "core/datafolder.h"
#include "core/textfile.h"

namespace parlix::disclaimer {

bool shouldShow(const DataFolder& folder)
{
    return textfile::readFirstLine(folder.path(QStringLiteral("mostra.txt"))) == QStringLiteral("1");
}

QString text(const DataFolder& folder)
{
    QString text;
    const auto lines = textfile::readLines(folder.path(QStringLiteral("disclaimer.txt")));
    if (lines) {
        for (const QString& line : *lines)
            text += u'\n' + line;
    }
    return text;
}

bool accept(const DataFolder& folder)
{
    return textfile::writeLines(folder.path(QStringLiteral("mostra.txt")), {QStringLiteral("0")});
}

} // namespace parlix::disclaimer
