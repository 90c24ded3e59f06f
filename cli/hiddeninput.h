#pragma once

#include <QString>

class QTextStream;

namespace parlix::cli {

// Reads one line of `in`. When `in` reads a terminal, `prompt` is written to
// `err` first and the typed characters are not shown, as login programs read
// passwords; the terminal's settings are put back however the read ends.
// A closed input gives a null string.
QString readHiddenLine(QTextStream& in, QTextStream& err, const QString& prompt);

} // namespace parlix::cli
