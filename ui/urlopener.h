#pragma once

#include <QUrl>

#include <functional>

namespace parlix {

// Opens an address in the user's browser or e-mail program (by default
// QDesktopServices::openUrl); tests install one that records the address.
using UrlOpener = std::function<bool(const QUrl&)>;

UrlOpener desktopUrlOpener();

} // namespace parlix
