#include "urlopener.h"

#include <QDesktopServices>

namespace parlix {

UrlOpener desktopUrlOpener()
{
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

} // namespace parlix
