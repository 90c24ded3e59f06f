#include "archivecolumns.h"

namespace parlix {

std::array<ArchiveColumn, 5> archiveColumns(ArchiveKind kind)
{
    if (kind == ArchiveKind::Contacts)
        return {{{QString(), 600},
                 {QStringLiteral("Cellulare"), 1700},
                 {QStringLiteral("Nome"), 1700},
                 {QStringLiteral("Cognome"), 1700},
                 {QStringLiteral("Email"), 1700}}};
    return {{{QString(), 600},
             {QStringLiteral("Cellulare"), 1700},
             {QStringLiteral("Cognome"), 1700},
             {QStringLiteral("Data"), 1700},
             {QStringLiteral("Testo"), 3700}}};
}

int sortCell(ArchiveKind kind)
{
    return kind == ArchiveKind::Contacts ? 2 : 1;
}

std::array<QString, 4> archiveFields(ArchiveKind kind)
{
    if (kind == ArchiveKind::Contacts)
        return {QStringLiteral("cellulare"), QStringLiteral("Nome"), QStringLiteral("cognome"),
                QStringLiteral("email")};
    return {QStringLiteral("cellulare"), QStringLiteral("cognome"), QStringLiteral("Data"),
            QStringLiteral("Testo")};
}

} // namespace parlix
