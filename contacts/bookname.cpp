#include "bookname.h"

#include <QFile>

namespace parlix {

namespace {
// Most file systems take 255 bytes for a name; leave room for the
// temporary names that copies use next to the file.
constexpr qsizetype maxFileNameBytes = 200;
} // namespace

std::optional<QString> bookNameProblem(const QString& name)
{
    if (!name.isEmpty() && name.trimmed().isEmpty())
        return QStringLiteral("Il nome della rubrica non può essere fatto di soli spazi.");
    if (name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("Il nome della rubrica non può contenere i caratteri / e \\.");
    for (const char32_t c : name.toUcs4()) {
        if (c < 0x20 || (c >= 0x7f && c < 0xa0))
            return QStringLiteral("Il nome della rubrica non può contenere caratteri di controllo.");
    }
    if (name.startsWith(u'.'))
        return QStringLiteral("Il nome della rubrica non può iniziare con un punto.");
    if (name.toUcs4().size() > maxBookNameLength || QFile::encodeName(name).size() > maxFileNameBytes)
        return QStringLiteral("Il nome della rubrica non può superare i %1 caratteri.")
            .arg(maxBookNameLength);
    return std::nullopt;
}

} // namespace parlix
