#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace parlix {

enum class VendorPage {
    Purchase,          // "Acquista SMS"
    ResellerProgramme, // toolbar button 7
    Partners,          // "Guadagna con noi"
};

// The address of a vendor page on `site`. The purchase and programme pages
// carry the two reseller codes (a missing code counts as empty), encoded so
// that a code cannot add parameters of its own.
QUrl vendorPageUrl(VendorPage page, const QString& site, const QStringList& codes);

// The vendor's web site this build was configured with.
QString vendorSite();

} // namespace parlix
