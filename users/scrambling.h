#pragma once

#include <QByteArray>

#include <optional>

namespace parlix::scrambling {

// The account file keeps every record lightly disguised, byte by byte: the
// first byte is raised by the record's length, each following byte by its
// 1-based position. Files written by the Windows program use the same bytes.

// The stored form of a plain record; nothing when a byte would pass 255.
std::optional<QByteArray> scramble(const QByteArray& plain);
// The plain record of a stored line; nothing when a byte would fall below 0
// (the line is damaged).
std::optional<QByteArray> unscramble(const QByteArray& stored);

} // namespace parlix::scrambling
