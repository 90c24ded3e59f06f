#pragma once

#include <QString>

namespace parlix {

class DataFolder;

// The disclaimer shown before the main window: "mostra.txt" switches it on
// when its first line is exactly "1"; "disclaimer.txt" holds the text.
namespace disclaimer {

bool shouldShow(const DataFolder& folder);
// Every line of the text preceded by a line break, so the text begins with an
// empty line; empty when the file is missing.
QString text(const DataFolder& folder);
// Accepting switches the disclaimer off for the next starts. False when
// "mostra.txt" could not be written (it is then shown again next time).
bool accept(const DataFolder& folder);

} // namespace disclaimer
} // namespace parlix
