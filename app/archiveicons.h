#pragma once

#include <QIcon>

namespace parlix {

// The pictures of the archive tree and list, by their 1-based number:
// 1 contacts, 3 saved, 4 sent, 5 deleted (2 is an unused slot).
QIcon archiveIcon(int image);

} // namespace parlix
