#pragma once

#include "cli/command.h"

#include <QStringList>

#include <optional>

namespace parlix {
class DataFolder;
}

namespace parlix::cli {

// The names in the folder's book list, in stored order; when the list cannot
// be read, says why on standard error and gives nothing.
std::optional<QStringList> listedBooks(const DataFolder& folder, Console& console);

} // namespace parlix::cli
