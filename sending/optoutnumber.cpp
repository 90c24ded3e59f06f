#include "optoutnumber.h"

#include <phonenumbers/phonenumberutil.h>

#include <algorithm>

namespace parlix {

std::optional<QString> optOutKey(const QString& number)
{
    const QString trimmed = number.trimmed();
    // The library reads letters as keypad digits: in a register they are a typing error.
    const auto allowed = [](QChar c) {
        return c.isDigit() || c == u'+' || c == u' ' || c == u'-' || c == u'.' || c == u'/' || c == u'(' ||
               c == u')';
    };
    if (trimmed.isEmpty() || !std::all_of(trimmed.begin(), trimmed.end(), allowed))
        return std::nullopt;
    using i18n::phonenumbers::PhoneNumber;
    using i18n::phonenumbers::PhoneNumberUtil;
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber parsed;
    if (util.Parse(trimmed.toStdString(), "IT", &parsed) != PhoneNumberUtil::NO_PARSING_ERROR ||
        !util.IsPossibleNumber(parsed))
        return std::nullopt;
    std::string formatted;
    util.Format(parsed, PhoneNumberUtil::E164, &formatted);
    return QString::fromStdString(formatted);
}

QString nationalDigits(const QString& key)
{
    using i18n::phonenumbers::PhoneNumber;
    using i18n::phonenumbers::PhoneNumberUtil;
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber parsed;
    if (util.Parse(key.toStdString(), "IT", &parsed) != PhoneNumberUtil::NO_PARSING_ERROR)
        return {};
    std::string national;
    util.GetNationalSignificantNumber(parsed, &national);
    return QString::fromStdString(national);
}

} // namespace parlix
