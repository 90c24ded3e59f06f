#pragma once

#include "contacts/contact.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace parlix::csv {

// The contact exchange files: a header line, then one contact a line, values
// separated by ";" with no quoting (a value cannot hold ";" or a line break)
// and taken exactly as they are, blanks included. Files are written in UTF-8
// with CR LF line ends.

// The header the export writes.
QString header();

// The text of a file's bytes: a UTF-8 byte-order mark is skipped; bytes that
// are not valid UTF-8 are taken as Windows-1252.
QString decode(QByteArrayView bytes);
// The lines of a text: CR LF or LF end a line (a CR alone is kept as text). A
// last line without a line end counts; a final line end starts no other line.
QStringList splitLines(const QString& text);

// Where each field is read from in a contact line: the zero-based position of
// its name in the header, compared exactly. A later duplicate name wins; a
// missing name reads position 0.
struct Columns
{
    int nome = 0;
    int cognome = 0;
    int cellulare = 0;
    int email = 0;

    bool operator==(const Columns&) const = default;
};

Columns readHeader(QStringView line);
// The contact of a line (`icona` "4"), or nothing when the line ends the
// import: an empty line, or one with too few values for the columns.
std::optional<Contact> readContact(QStringView line, const Columns& columns);
// A contact as an exported line: Nome;Cognome;Cellulare;Posta elettronica.
QString writeContact(const Contact& contact);

// The line that ended an import early: its number in the file (the header is
// line 1), its text, and how many lines were left unread from it to the end.
struct StopLine
{
    int number = 0;
    QString text;
    int skipped = 0;

    bool operator==(const StopLine&) const = default;
};

// What a whole file holds: the contacts before the line that ended it, if
// any. An empty file holds no contact and nothing stopped it.
struct Reading
{
    std::vector<Contact> contacts;
    std::optional<StopLine> stop;
};

Reading read(QByteArrayView bytes);

} // namespace parlix::csv
