#include "phonenumbercheck.h"

#include "sending/recipientnumber.h"

#include <phonenumbers/phonenumberutil.h>

#include <algorithm>

namespace parlix {

bool isPossiblePhoneNumber(const QString& number)
{
    const QStringView digits = number.startsWith(u'+') ? QStringView(number).mid(1) : QStringView(number);
    // The library reads letters as keypad digits ("33a1"): here they are a typing error.
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        return false;
    using i18n::phonenumbers::PhoneNumber;
    using i18n::phonenumbers::PhoneNumberUtil;
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber parsed;
    if (util.Parse(internationalNumber(number).toStdString(), "IT", &parsed) !=
        PhoneNumberUtil::NO_PARSING_ERROR)
        return false;
    return util.IsPossibleNumber(parsed);
}

} // namespace parlix
