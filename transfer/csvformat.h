#pragma once

#include "contacts/contact.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QIODevice;

namespace parlix::csv {

// The contact exchange files: a header line, then one contact a line, values
// separated by ";" with no quoting (a value cannot hold ";" or a line break)
// and taken exactly as they are, blanks included. Files are written in UTF-8
// with CR LF line ends.
//
// A file is read a block at a time and never held whole: twice, once to find
// how its text is encoded and where its contacts end, then again to hand the
// contacts over. Only the separators, line ends and header names matter to
// the reading, and they are plain ASCII in either encoding.

// The header the export writes.
QString header();

// The text of a file's bytes: a UTF-8 byte-order mark is skipped; bytes that
// are not valid UTF-8 are taken as Windows-1252.
QString decode(QByteArrayView bytes);

// The longest line read, in bytes: a longer one before the contacts end means
// the file is no contact list, and nothing is read from it.
inline constexpr qsizetype maxLineBytes = qsizetype(1) << 20;

// Whether a stream of bytes, fed a piece at a time, is well-formed UTF-8 (as
// Qt's decoder sees it: no surrogates, no overlong forms, no sequence cut
// short by the end).
class Utf8Check
{
public:
    void feed(QByteArrayView bytes);
    bool valid() const { return valid_ && need_ == 0; }

private:
    bool valid_ = true;
    int need_ = 0; // continuation bytes still due
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF; // the range of the next continuation byte
};

// The lines of a source: CR LF or LF end a line (a CR alone is kept as text).
// A last line without a line end counts; a final line end starts no other line.
class LineReader
{
public:
    explicit LineReader(QIODevice& source, qsizetype maxLine = maxLineBytes);

    enum class Next {
        Line,
        TooLong, // a line longer than the cap, passed over whole
        End,
        Failed, // the source could not be read
    };
    // The next line without its end, valid until the next call.
    Next next(QByteArrayView& line);
    // Whether every byte read so far is valid UTF-8.
    bool validUtf8() const { return check_.valid(); }
    // The number of the line given last; the first is 1.
    int number() const { return number_; }

private:
    bool fill();

    QIODevice& source_;
    qsizetype maxLine_;
    QByteArray buffer_;
    qsizetype start_ = 0; // the first byte not yet handed over
    bool atEnd_ = false;
    bool failed_ = false;
    int number_ = 0;
    Utf8Check check_;
};

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
    // How many values a contact line needs.
    int needed() const;
};

// The header's bytes, a UTF-8 byte-order mark already taken off.
Columns readHeader(QByteArrayView line);
// A contact as an exported line: Nome;Cognome;Cellulare;Posta elettronica.
QString writeContact(const Contact& contact);

// The line that ended an import early: its number in the file (the header is
// line 1), its text, and how many lines were left unread from it to the end.
// An empty line ends the import, whatever the header; so does a line with too
// few values for the columns.
struct StopLine
{
    int number = 0;
    QString text;
    int skipped = 0;

    bool operator==(const StopLine&) const = default;
};

// What the first reading of a file found.
struct Outline
{
    enum class Status {
        Read,
        TooLong, // `tooLongLine` is longer than maxLineBytes: nothing is to be read
        Failed,  // the source could not be read
    };
    Status status = Status::Read;
    int tooLongLine = 0;
    bool utf8 = true; // false: Windows-1252
    Columns columns;
    int contacts = 0; // the contact lines before the stop line
    std::optional<StopLine> stop;
};

Outline outline(QIODevice& source, qsizetype maxLine = maxLineBytes);

// A contact line's values as UTF-8: nome, cognome, cellulare, email.
using Fields = std::array<QByteArrayView, 4>;
// Reads `source` again from its start and hands each of the outline's
// contacts to `each`, valid for that call. False, and nothing more handed
// over, when the source no longer reads as the outline says (it was changed
// meanwhile, or cannot be read).
bool readContacts(QIODevice& source, const Outline& outline, const std::function<void(const Fields&)>& each,
                  qsizetype maxLine = maxLineBytes);

// What a whole file in memory holds: the contacts before the line that ended
// it, if any. An empty file holds no contact and nothing stopped it; a file
// with a line over `maxLine` holds none, and says which line.
struct Reading
{
    std::vector<Contact> contacts;
    std::optional<StopLine> stop;
    int tooLongLine = 0;
};

Reading read(QByteArrayView bytes, qsizetype maxLine = maxLineBytes);

} // namespace parlix::csv
