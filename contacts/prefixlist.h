#pragma once

#include <QStringList>

#include <optional>

namespace parlix {

class DataFolder;

// The mobile-number prefixes the contact editor offers: "Prefissi.txt" in the
// data folder, one prefix a line, in the order the user arranged them.
namespace prefixes {

// The lines of the file; none when it is missing.
QStringList read(const DataFolder& folder);
// Replaces the file with these lines. False when it could not be written.
bool write(const DataFolder& folder, const QStringList& lines);

// Moving an entry one place; the entry's new index, or nothing (the list
// unchanged) when the entry cannot move that way or its text is empty.
std::optional<int> moveUp(QStringList& lines, int index);
std::optional<int> moveDown(QStringList& lines, int index);

} // namespace prefixes
} // namespace parlix
