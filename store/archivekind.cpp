#include "archivekind.h"

namespace parlix {

std::optional<ArchiveKind> archiveKindFromKey(const QString& key)
{
    if (key.isEmpty())
        return std::nullopt;
    switch (key.front().unicode()) {
    case u'r':
        return ArchiveKind::Contacts;
    case u's':
        return ArchiveKind::Saved;
    case u'i':
        return ArchiveKind::Sent;
    case u'c':
        return ArchiveKind::Deleted;
    default:
        return std::nullopt;
    }
}

QChar archiveLetter(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Contacts:
        return u'r';
    case ArchiveKind::Saved:
        return u's';
    case ArchiveKind::Sent:
        return u'i';
    case ArchiveKind::Deleted:
        return u'c';
    }
    return u'r';
}

QString archiveTable(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Contacts:
        return QStringLiteral("rubrica");
    case ArchiveKind::Saved:
        return QStringLiteral("salvati");
    case ArchiveKind::Sent:
        return QStringLiteral("inviati");
    case ArchiveKind::Deleted:
        return QStringLiteral("cancellati");
    }
    return {};
}

QString archiveTitle(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Contacts:
        return QStringLiteral("Rubrica");
    case ArchiveKind::Saved:
        return QStringLiteral("SMS Salvati");
    case ArchiveKind::Sent:
        return QStringLiteral("SMS Inviati");
    case ArchiveKind::Deleted:
        return QStringLiteral("SMS Cancellati");
    }
    return {};
}

} // namespace parlix
