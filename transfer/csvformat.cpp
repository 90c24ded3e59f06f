#include "csvformat.h"

#include <QStringDecoder>

#include <algorithm>

namespace parlix::csv {

namespace {

constexpr QStringView nomeName = u"Nome";
constexpr QStringView cognomeName = u"Cognome";
constexpr QStringView cellulareName = u"Cellulare";
constexpr QStringView emailName = u"Posta elettronica";

} // namespace

QString header()
{
    return QStringLiteral("Nome;Cognome;Cellulare;Posta elettronica");
}

QString decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Qt knows this code page through ICU, and only by this name.
    QStringDecoder ansi("windows-1252");
    if (ansi.isValid())
        return ansi.decode(bytes);
    return QString::fromLatin1(bytes);
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            lines << text.mid(start);
            break;
        }
        qsizetype length = end - start;
        if (length > 0 && text.at(end - 1) == u'\r')
            --length;
        lines << text.mid(start, length);
        start = end + 1;
    }
    return lines;
}

Columns readHeader(QStringView line)
{
    Columns columns;
    int position = 0;
    for (QStringView name : line.split(u';')) {
        if (name == nomeName)
            columns.nome = position;
        else if (name == cognomeName)
            columns.cognome = position;
        else if (name == cellulareName)
            columns.cellulare = position;
        else if (name == emailName)
            columns.email = position;
        ++position;
    }
    return columns;
}

std::optional<Contact> readContact(QStringView line, const Columns& columns)
{
    if (line.isEmpty())
        return std::nullopt;
    const QList<QStringView> values = line.split(u';');
    const int needed = std::max({columns.nome, columns.cognome, columns.cellulare, columns.email}) + 1;
    if (values.size() < needed)
        return std::nullopt;
    return Contact{values.at(columns.nome).toString(), values.at(columns.cognome).toString(),
                   values.at(columns.cellulare).toString(), values.at(columns.email).toString(),
                   QStringLiteral("4")};
}

QString writeContact(const Contact& contact)
{
    return contact.nome + u';' + contact.cognome + u';' + contact.cellulare + u';' + contact.email;
}

Reading read(QByteArrayView bytes)
{
    const QStringList lines = splitLines(decode(bytes));
    Reading reading;
    if (lines.isEmpty())
        return reading;
    const Columns columns = readHeader(lines.first());
    reading.contacts.reserve(size_t(lines.size() - 1));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        auto contact = readContact(lines.at(i), columns);
        if (!contact) {
            reading.stop = StopLine{int(i + 1), lines.at(i), int(lines.size() - i)};
            break;
        }
        reading.contacts.push_back(std::move(*contact));
    }
    return reading;
}

} // namespace parlix::csv
