#include "windows1252check.h"

#include <qwirl/cp1252.h>

#include <QList>

namespace parlix {

QStringList charactersWithoutWindows1252(const QString& text)
{
    QStringList lost;
    for (const uint point : text.toUcs4()) {
        const auto code = char32_t(point);
        const QString character = QString::fromUcs4(&code, 1);
        // The same conversion the gateway library makes on the way out.
        if (code != U'?' && qwirl::Cp1252::fromUtf8(character.toStdString()) == "?" &&
            !lost.contains(character))
            lost << character;
    }
    return lost;
}

} // namespace parlix
