#include "appicon.h"

namespace parlix {

QIcon appIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) // PARLIX_ICON_SIZES
        icon.addFile(QStringLiteral(":/icons/parlix-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace parlix
