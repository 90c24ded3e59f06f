#include "treerouting.h"

#include "store/archivekind.h"

namespace parlix {

namespace {

bool firstIs(const QString& text, char16_t c)
{
    return !text.isEmpty() && text.front() == c;
}

bool fifthIs(const QString& text, char16_t c)
{
    return text.size() >= 5 && text[4] == c;
}

} // namespace

std::optional<ArchiveCaption> archiveCaption(const QString& key, const QString& text)
{
    std::optional<ArchiveCaption> caption;
    if (firstIs(key, u'r') || firstIs(text, u'R'))
        caption = ArchiveCaption{1, QStringLiteral("Rubrica")};
    if (firstIs(key, u's') || fifthIs(text, u'S'))
        caption = ArchiveCaption{3, QStringLiteral("SMS Salvati")};
    if (firstIs(key, u'i') || fifthIs(text, u'I'))
        caption = ArchiveCaption{4, QStringLiteral("SMS Inviati")};
    if (firstIs(key, u'c') || fifthIs(text, u'C'))
        caption = ArchiveCaption{5, QStringLiteral("SMS Cancellati")};
    return caption;
}

bool isBookNode(const QString& key)
{
    return archiveKindFromKey(key).has_value();
}

} // namespace parlix
