#include "phonenumbercheck.h"

#include "contacts/phonenumberloader.h"
#include "sending/recipientnumber.h"

#include <algorithm>

namespace parlix {

bool isPossiblePhoneNumber(const QString& number)
{
    const QStringView digits = number.startsWith(u'+') ? QStringView(number).mid(1) : QStringView(number);
    // The library reads letters as keypad digits ("33a1"): here they are a typing error.
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        return false;
    // Without the phone number module no number is checked, and none is sent.
    const phone::NumberModule& module = phone::numberModule();
    return module.problem.isEmpty() && module.isPossible(internationalNumber(number).toStdString().c_str());
}

} // namespace parlix
