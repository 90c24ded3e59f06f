#include "vcardcontact.h"

#include "contacts/phonenumberloader.h"
#include "transfer/csvformat.h"
#include "transfer/vcardparserloader.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>

namespace parlix::vcard {

namespace {

QString textOf(const char* utf8)
{
    return utf8 ? QString::fromUtf8(utf8).trimmed() : QString();
}

const ParserModule& loadedParser()
{
    const ParserModule& parser = parserModule();
    if (!parser.read)
        throw ParserMissing(parser.problem.toStdString());
    return parser;
}

QByteArray asUtf8(const QByteArray& text)
{
    // Most cards are plain ASCII, and a card that names its character set is
    // decoded by the library.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }) ||
        text.toUpper().contains("CHARSET="))
        return text;
    return csv::decode(text).toUtf8();
}

// The digits of a number as written ("+39 (347) 111-2222", "tel:+39-347-111-2222"),
// "+" first for an international one; empty when anything else is in it.
QString dialledDigits(QString number)
{
    number = number.trimmed();
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        number = number.mid(4).section(u';', 0, 0);
    QString digits;
    for (const QChar c : std::as_const(number)) {
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
        else if (c == u'+' && digits.isEmpty())
            digits += c;
        else if (!c.isSpace() && c != u'-' && c != u'.' && c != u'(' && c != u')' && c != u'/')
            return {};
    }
    if (digits.startsWith(QLatin1String("00")))
        digits.replace(0, 2, u'+');
    if (digits == u'+')
        return {};
    return digits;
}

bool isMobile(const QString& digits)
{
    const phone::NumberModule& module = phone::numberModule();
    if (!module.problem.isEmpty())
        throw ParserMissing(module.problem.toStdString());
    return module.isMobile(digits.toStdString().c_str());
}

// A name of one word is taken as the surname.
void splitFormattedName(const QString& formatted, Contact& contact)
{
    loadedParser().splitName(
        formatted.toUtf8().constData(),
        [](const ParlixVcardName* parts, void* context) {
            Contact& contact = *static_cast<Contact*>(context);
            const QString given = (textOf(parts->first) + u' ' + textOf(parts->middle)).trimmed();
            contact.cognome = textOf(parts->last);
            if (contact.cognome.isEmpty())
                contact.cognome = given;
            else
                contact.nome = given;
        },
        &contact);
}

// What a card's properties give, in the card's order.
struct CardFields
{
    CardContact& read;
    std::vector<CardNumber> numbers;
    bool haveEmail = false;
    QString formatted;

    void take(const ParlixVcardProperty& property)
    {
        Contact& contact = read.contact;
        if (property.kind == PARLIX_VCARD_TEL) {
            numbers.push_back({textOf(property.value), property.cell != 0});
        } else if (!haveEmail && property.kind == PARLIX_VCARD_EMAIL) {
            contact.email = textOf(property.value);
            haveEmail = !contact.email.isEmpty();
        } else if (formatted.isEmpty() && property.kind == PARLIX_VCARD_FN) {
            formatted = textOf(property.value);
        } else if (contact.cognome.isEmpty() && contact.nome.isEmpty() && property.kind == PARLIX_VCARD_N) {
            contact.cognome = textOf(property.value);
            contact.nome = textOf(property.second);
        }
    }
};

} // namespace

QString chooseNumber(const std::vector<CardNumber>& numbers)
{
    std::vector<std::pair<QString, bool>> usable; // digits, typed as a mobile
    for (const CardNumber& number : numbers)
        if (QString digits = dialledDigits(number.value); !digits.isEmpty())
            usable.emplace_back(std::move(digits), number.mobile);
    if (usable.empty())
        return {};
    auto chosen = std::find_if(usable.begin(), usable.end(), [](const auto& n) { return n.second; });
    if (chosen == usable.end())
        chosen = std::find_if(usable.begin(), usable.end(), [](const auto& n) { return isMobile(n.first); });
    if (chosen == usable.end())
        chosen = usable.begin();
    QString digits = chosen->first;
    if (digits.startsWith(QLatin1String("+39")))
        digits.remove(0, 3);
    return digits;
}

CardContact readCard(const QByteArray& text)
{
    CardContact read;
    read.contact.icona = QStringLiteral("4");
    CardFields fields{read, {}, false, {}};
    loadedParser().read(
        asUtf8(text).constData(),
        [](const ParlixVcardProperty* property, void* context) {
            static_cast<CardFields*>(context)->take(*property);
        },
        &fields);
    const QString& formatted = fields.formatted;
    if (read.contact.cognome.isEmpty() && read.contact.nome.isEmpty() && !formatted.isEmpty())
        splitFormattedName(formatted, read.contact);
    read.contact.cellulare = chooseNumber(fields.numbers);
    read.label = !formatted.isEmpty() ? formatted
                 : !read.contact.nome.isEmpty() || !read.contact.cognome.isEmpty()
                     ? (read.contact.nome + u' ' + read.contact.cognome).trimmed()
                     : read.contact.email;
    return read;
}

} // namespace parlix::vcard
