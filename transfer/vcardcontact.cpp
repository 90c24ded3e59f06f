#include "vcardcontact.h"

#include "transfer/csvformat.h"

#include <phonenumbers/phonenumberutil.h>

#include <QStringDecoder>
#include <QStringList>

// GLib's headers use Qt's keyword "signals" as a name.
#undef signals
#include <libebook-contacts/libebook-contacts.h>

#include <algorithm>
#include <memory>

namespace parlix::vcard {

namespace {

struct GObjectRelease
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
using Card = std::unique_ptr<EVCard, GObjectRelease>;

QString textOf(const char* utf8)
{
    return utf8 ? QString::fromUtf8(utf8).trimmed() : QString();
}

// The value of a property the card holds once (FN), or its first value.
QString firstValue(EVCardAttribute* attribute)
{
    GList* values = attribute ? e_vcard_attribute_get_values(attribute) : nullptr;
    return values ? textOf(static_cast<const char*>(values->data)) : QString();
}

// The types of a property: TYPE=CELL,VOICE, TYPE="cell,voice", TYPE=CELL;TYPE=PREF
// and the bare parameters of 2.1 (TEL;CELL), which the library files under TYPE.
bool hasType(EVCardAttribute* attribute, const char* wanted)
{
    for (GList* param = e_vcard_attribute_get_params(attribute); param; param = param->next) {
        auto* current = static_cast<EVCardAttributeParam*>(param->data);
        if (g_ascii_strcasecmp(e_vcard_attribute_param_get_name(current), EVC_TYPE) != 0)
            continue;
        for (GList* value = e_vcard_attribute_param_get_values(current); value; value = value->next) {
            const QString types = QString::fromUtf8(static_cast<const char*>(value->data)).remove(u'"');
            for (const QString& type : types.split(u','))
                if (type.trimmed().compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0)
                    return true;
        }
    }
    return false;
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
    using i18n::phonenumbers::PhoneNumber;
    using i18n::phonenumbers::PhoneNumberUtil;
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber parsed;
    if (util.Parse(digits.toStdString(), "IT", &parsed) != PhoneNumberUtil::NO_PARSING_ERROR)
        return false;
    const auto type = util.GetNumberType(parsed);
    return type == PhoneNumberUtil::MOBILE || type == PhoneNumberUtil::FIXED_LINE_OR_MOBILE;
}

// The library knows the particles of surnames ("De Santis", "di Marco") and
// leaves titles out; a name of one word is taken as the surname.
void splitFormattedName(const QString& formatted, Contact& contact)
{
    ENameWestern* parts = e_name_western_parse(formatted.toUtf8().constData());
    const QString given = (textOf(parts->first) + u' ' + textOf(parts->middle)).trimmed();
    contact.cognome = textOf(parts->last);
    if (contact.cognome.isEmpty())
        contact.cognome = given;
    else
        contact.nome = given;
    e_name_western_free(parts);
}

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
    const Card card(e_vcard_new_from_string(asUtf8(text).constData()));
    CardContact read;
    read.contact.icona = QStringLiteral("4");
    std::vector<CardNumber> numbers;
    bool haveEmail = false;
    QString formatted;
    for (GList* item = e_vcard_get_attributes(card.get()); item; item = item->next) {
        auto* attribute = static_cast<EVCardAttribute*>(item->data);
        const char* name = e_vcard_attribute_get_name(attribute);
        if (g_ascii_strcasecmp(name, EVC_TEL) == 0) {
            numbers.push_back({firstValue(attribute), hasType(attribute, "CELL")});
        } else if (!haveEmail && g_ascii_strcasecmp(name, EVC_EMAIL) == 0) {
            read.contact.email = firstValue(attribute);
            haveEmail = !read.contact.email.isEmpty();
        } else if (formatted.isEmpty() && g_ascii_strcasecmp(name, EVC_FN) == 0) {
            formatted = firstValue(attribute);
        } else if (read.contact.cognome.isEmpty() && read.contact.nome.isEmpty() &&
                   g_ascii_strcasecmp(name, EVC_N) == 0) {
            GList* values = e_vcard_attribute_get_values(attribute);
            read.contact.cognome = values ? textOf(static_cast<const char*>(values->data)) : QString();
            read.contact.nome =
                values && values->next ? textOf(static_cast<const char*>(values->next->data)) : QString();
        }
    }
    if (read.contact.cognome.isEmpty() && read.contact.nome.isEmpty() && !formatted.isEmpty())
        splitFormattedName(formatted, read.contact);
    read.contact.cellulare = chooseNumber(numbers);
    read.label = !formatted.isEmpty() ? formatted
                 : !read.contact.nome.isEmpty() || !read.contact.cognome.isEmpty()
                     ? (read.contact.nome + u' ' + read.contact.cognome).trimmed()
                     : read.contact.email;
    return read;
}

} // namespace parlix::vcard
