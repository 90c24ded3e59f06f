#pragma once

#include "store/archivekind.h"

#include <QIcon>

namespace parlix {

// The small picture of the list's rows for each kind of archive.
QIcon rowIcon(ArchiveKind kind);

} // namespace parlix
