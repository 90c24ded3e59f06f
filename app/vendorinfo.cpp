#include "vendorinfo.h"

#include "app/vendorpages.h"

namespace parlix::vendorinfo {

QString postalAddress()
{
    return QStringLiteral("Parlix - Via dei Mille 12, 40121 Bologna");
}

QString webAddress()
{
    return vendorSite();
}

QString supportAddress()
{
    return vendorSite() + QStringLiteral("/assistenza");
}

QString email()
{
    return QStringLiteral("info@parlix.example");
}

} // namespace parlix::vendorinfo
