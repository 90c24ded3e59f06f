#pragma once

#include <QByteArray>

class QIODevice;

namespace parlix::vcard {

// Cuts a stream of vCard text into its cards, one at a time, so that a file
// of any size is read in bounded memory. Only the properties a contact is
// made of (N, FN, TEL, EMAIL, with or without a group) are kept; pictures,
// sounds, keys and everything else are skipped as they are read.
//
// The parsing of a card is the vCard library's; this only finds where a card
// begins and ends. It also joins the soft line breaks of quoted-printable
// values (a line ending in "=" continued on the next line, from its first
// column as phones write them), which the library does not.
class CardReader
{
public:
    explicit CardReader(QIODevice& source) : source_(source) {}

    struct Card
    {
        QByteArray text;       // BEGIN:VCARD ... END:VCARD, lines ended by CR LF
        bool complete = false; // false: cut short (no END:VCARD) or too large
    };

    // The next card, or false at the end of the stream.
    bool next(Card& card);

    // Whether any BEGIN:VCARD was seen.
    bool sawCard() const { return sawCard_; }
    // How far into the stream the reading is, in bytes.
    qint64 position() const { return position_; }

private:
    enum class Line { Eof, Text, TooLong };
    Line readLine(QByteArray& line);

    QIODevice& source_;
    QByteArray pending_; // a BEGIN line that ended the card before it
    bool sawCard_ = false;
    qint64 position_ = 0;
};

} // namespace parlix::vcard
