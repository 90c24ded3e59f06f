#pragma once

#include <QStringList>

namespace parlix {

// The characters of `text` that the gateway's Windows-1252 wire format cannot
// carry (the gateway library sends "?" for each), each once, in order of first
// appearance.
QStringList charactersWithoutWindows1252(const QString& text);

} // namespace parlix
