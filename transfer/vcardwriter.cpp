#include "vcardwriter.h"

namespace parlix::vcard {

namespace {

constexpr qsizetype lineOctets = 75;

QString escaped(const QString& value)
{
    QString out;
    out.reserve(value.size());
    const QString trimmed = value.trimmed();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (c == u'\\' || c == u';' || c == u',') {
            out += u'\\';
            out += c;
        } else if (c == u'\r' || c == u'\n') {
            out += QStringLiteral("\\n");
            if (c == u'\r' && i + 1 < trimmed.size() && trimmed.at(i + 1) == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

bool continuesCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Appends one content line, folded: every line of the result, the blank that
// begins a continuation included, is at most 75 octets.
void appendLine(QByteArray& card, const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    qsizetype start = 0;
    qsizetype room = lineOctets;
    while (bytes.size() - start > room) {
        qsizetype cut = start + room;
        while (cut > start && continuesCharacter(bytes.at(cut)))
            --cut;
        card += bytes.mid(start, cut - start);
        card += "\r\n ";
        start = cut;
        room = lineOctets - 1;
    }
    card += bytes.mid(start);
    card += "\r\n";
}

} // namespace

QByteArray cardText(const Contact& contact)
{
    const QString nome = escaped(contact.nome);
    const QString cognome = escaped(contact.cognome);
    const QString number = escaped(contact.cellulare);
    const QString email = escaped(contact.email);
    QString formatted = (nome + u' ' + cognome).trimmed();
    // FN may not be empty.
    if (formatted.isEmpty())
        formatted = !email.isEmpty() ? email : number;

    QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    appendLine(card, QStringLiteral("N:") + cognome + u';' + nome + QStringLiteral(";;;"));
    appendLine(card, QStringLiteral("FN:") + formatted);
    if (!number.isEmpty())
        appendLine(card, QStringLiteral("TEL;TYPE=CELL:") + number);
    if (!email.isEmpty())
        appendLine(card, QStringLiteral("EMAIL;TYPE=INTERNET:") + email);
    card += "END:VCARD\r\n";
    return card;
}

} // namespace parlix::vcard
