#pragma once

#include "cli/command.h"
#include "transfer/vcardexport.h"

class QBuffer;
class QIODevice;

namespace parlix::cli {

// The FILE word "-" stands for standard input or output.
bool isStandardStream(const QString& file);

// The bytes of the console's input: the device behind it or, for a console
// over a string (as in the tests), that text in UTF-8, put into `text`.
QIODevice& inputBytes(Console& console, QBuffer& text);

// Writes blocks of bytes to the console's output as they come.
VcardSink outputBytes(Console& console);

} // namespace parlix::cli
