#pragma once

#include <QByteArray>

namespace parlix::dbf {

// The name, as Qt's decoders know it, of the code page a DBF table says its
// text is in. `declared` is what shapelib reports: "LDID/<n>" for the language
// driver byte of the header, or the content of a ".cpg" file beside the table
// ("1252", "UTF-8", "CP850"...). A table that says nothing, or names a code
// page we cannot decode, is read as Windows-1252.
QByteArray decoderName(const char* declared);

} // namespace parlix::dbf
