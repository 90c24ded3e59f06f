#pragma once

#include <functional>

namespace parlix {

// Told how far a long import has got: `done` rows of `total`. The program's
// window uses it to move its progress bar and to let itself repaint; it is
// called often, so it should be cheap.
using Progress = std::function<void(int done, int total)>;

} // namespace parlix
