#pragma once

#include <QStringList>

namespace parlix {

class DataFolder;

// The files of the data folder that hold passwords, "account" and
// "tempaccesso", are for their owner's eyes only. One that others may read or
// write (made by hand, copied in) is tightened to 0600 at start, and said: one
// Italian line per file tightened, so the user hears of it once. A link is
// left alone, its target being perhaps no file of ours.
QStringList tightenSecretFiles(const DataFolder& folder);

} // namespace parlix
