#pragma once

#include <QString>

namespace parlix::vendorinfo {

// The vendor's addresses shown on the disclaimer and the about box.
QString postalAddress();
QString webAddress();
QString supportAddress();
QString email();

} // namespace parlix::vendorinfo
