#include "vendorpages.h"

namespace parlix {

namespace {

QString encoded(const QStringList& codes, int index)
{
    return index < codes.size() ? QString::fromLatin1(QUrl::toPercentEncoding(codes[index])) : QString();
}

} // namespace

QUrl vendorPageUrl(VendorPage page, const QString& site, const QStringList& codes)
{
    QString base = site;
    while (base.endsWith(u'/'))
        base.chop(1);
    const QString query =
        QStringLiteral("?affiliato=") + encoded(codes, 0) + QStringLiteral("&codeaff=") + encoded(codes, 1);
    switch (page) {
    case VendorPage::Purchase:
        return QUrl(base + QStringLiteral("/cgi-bin/affiliate/giacli.pl") + query);
    case VendorPage::ResellerProgramme:
        return QUrl(base + QStringLiteral("/cgi-bin/affiliate/programma.pl") + query);
    case VendorPage::Partners:
        return QUrl(base + QStringLiteral("/affiliate1/affiliati.htm"));
    }
    return {};
}

QString vendorSite()
{
    return QStringLiteral(PARLIX_VENDOR_SITE);
}

} // namespace parlix
