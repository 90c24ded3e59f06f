#include "vcardcards.h"

#include <QIODevice>

namespace parlix::vcard {

namespace {

// A card's kept text beyond this is no contact card: it is skipped whole.
constexpr qsizetype cardLimit = 64 * 1024;
// Longer lines are read in pieces and never held whole.
constexpr qint64 lineLimit = 16 * 1024;

bool isContinuation(const QByteArray& line)
{
    return line.startsWith(' ') || line.startsWith('\t');
}

// The property's name, its group left out, in upper case.
QByteArray propertyName(const QByteArray& line)
{
    qsizetype end = 0;
    while (end < line.size() && line[end] != ';' && line[end] != ':')
        ++end;
    QByteArray name = line.left(end).trimmed().toUpper();
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.mid(dot + 1);
}

bool isQuotedPrintable(const QByteArray& line)
{
    const qsizetype colon = line.indexOf(':');
    return line.left(colon < 0 ? line.size() : colon).toUpper().contains("QUOTED-PRINTABLE");
}

bool isMarker(const QByteArray& line, const char* marker)
{
    return line.trimmed().toUpper() == marker;
}

} // namespace

CardReader::Line CardReader::readLine(QByteArray& line)
{
    line = source_.readLine(lineLimit);
    position_ += line.size();
    if (line.isEmpty())
        return Line::Eof;
    Line kind = Line::Text;
    if (!line.endsWith('\n') && line.size() >= lineLimit - 1) {
        kind = Line::TooLong;
        for (;;) {
            const QByteArray rest = source_.readLine(lineLimit);
            position_ += rest.size();
            if (rest.isEmpty() || rest.endsWith('\n'))
                break;
        }
    }
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return kind;
}

bool CardReader::next(Card& card)
{
    card = {};
    bool inCard = false;
    bool broken = false;    // a kept line was too long, or the card too large
    bool keeping = false;   // the current property goes into the card
    bool softBreak = false; // the current property is quoted-printable and its last line ended in "="
    QByteArray line;
    for (;;) {
        Line kind = Line::Text;
        if (!pending_.isEmpty())
            line = std::exchange(pending_, {});
        else
            kind = readLine(line);
        if (kind == Line::Eof)
            return inCard; // a card cut short by the end of the stream is not complete
        if (!inCard) {
            if (isMarker(line, "BEGIN:VCARD")) {
                inCard = sawCard_ = true;
                card.text = "BEGIN:VCARD";
            }
            continue;
        }
        if (isContinuation(line) || softBreak) {
            if (keeping && softBreak) {
                // The "=" and the line break are no part of the value.
                card.text.chop(1);
                qsizetype blank = 0;
                while (blank < line.size() && (line[blank] == ' ' || line[blank] == '\t'))
                    ++blank;
                card.text += QByteArrayView(line).sliced(blank);
            } else if (keeping) {
                card.text += "\r\n";
                card.text += line;
            }
            softBreak = softBreak && line.endsWith('=');
        } else {
            const QByteArray name = propertyName(line);
            if (name == "BEGIN" && isMarker(line, "BEGIN:VCARD")) {
                pending_ = line; // the card before it had no end
                return true;
            }
            if (name == "END" && isMarker(line, "END:VCARD")) {
                card.text += "\r\nEND:VCARD\r\n";
                card.complete = !broken;
                return true;
            }
            keeping = !broken &&
                      (name == "VERSION" || name == "N" || name == "FN" || name == "TEL" || name == "EMAIL");
            softBreak = line.endsWith('=') && isQuotedPrintable(line);
            if (keeping) {
                card.text += "\r\n";
                card.text += line;
            }
        }
        // A kept value read in pieces would be read wrong; a card beyond the
        // limit is no contact: either way nothing more of it is kept.
        if (keeping && (kind == Line::TooLong || card.text.size() > cardLimit)) {
            broken = true;
            keeping = false;
            card.text.clear();
        }
    }
}

} // namespace parlix::vcard
