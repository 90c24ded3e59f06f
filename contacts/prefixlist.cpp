#include "prefixlist.h"

#include "core/datafolder.h"
#include "core/textfile.h"

namespace parlix::prefixes {

namespace {
const QString fileName = QStringLiteral("Prefissi.txt");

bool movable(const QStringList& lines, int index)
{
    return index >= 0 && index < lines.size() && !lines[index].isEmpty();
}
} // namespace

QStringList read(const DataFolder& folder)
{
    return textfile::readLines(folder.path(fileName)).value_or(QStringList());
}

bool write(const DataFolder& folder, const QStringList& lines)
{
    return textfile::writeLines(folder.path(fileName), lines);
}

std::optional<int> moveUp(QStringList& lines, int index)
{
    if (!movable(lines, index) || index < 1)
        return std::nullopt;
    lines.move(index, index - 1);
    return index - 1;
}

std::optional<int> moveDown(QStringList& lines, int index)
{
    if (!movable(lines, index) || index >= lines.size() - 1)
        return std::nullopt;
    lines.move(index, index + 1);
    return index + 1;
}

} // namespace parlix::prefixes
