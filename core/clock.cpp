#include "clock.h"

namespace parlix {

QString messageDate(const QDateTime& when)
{
    return when.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

} // namespace parlix
