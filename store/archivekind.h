#pragma once

#include <QString>

#include <optional>

namespace parlix {

// The four archives of a book, named by the first letter of a tree node's key.
enum class ArchiveKind { Contacts, Saved, Sent, Deleted };

// 'r', 's', 'i', 'c'; nothing for group nodes ("a1".."a4") and other keys.
std::optional<ArchiveKind> archiveKindFromKey(const QString& key);
QChar archiveLetter(ArchiveKind kind);
// rubrica, salvati, inviati, cancellati
QString archiveTable(ArchiveKind kind);
// "Rubrica", "SMS Salvati", "SMS Inviati", "SMS Cancellati"
QString archiveTitle(ArchiveKind kind);

} // namespace parlix
