#pragma once

#include <QString>

#include <optional>

namespace parlix {

// A book name is also the name of the book's file in "rubriche", so it must be
// a plain file name there. Nothing when `name` is acceptable, otherwise the
// Italian text that tells the user why it is refused. The empty name is left
// to the caller (it means "cancelled").
std::optional<QString> bookNameProblem(const QString& name);

// Longest book name accepted, in characters.
inline constexpr int maxBookNameLength = 100;

} // namespace parlix
