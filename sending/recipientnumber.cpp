#include "recipientnumber.h"

namespace parlix {

QString internationalNumber(const QString& number)
{
    if (number.startsWith(u'+'))
        return number;
    if (number.startsWith(u"00"))
        return u'+' + number.mid(2);
    return QStringLiteral("+39") + number;
}

} // namespace parlix
