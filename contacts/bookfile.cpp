#include "bookfile.h"

#include "core/datafolder.h"
#include "store/storeerror.h"

namespace parlix {

QString bookFile(const DataFolder& folder, const QString& book)
{
    const QString trimmed = book.trimmed();
    if (trimmed.isEmpty() || trimmed == u"." || trimmed == u".." || book.contains(u'/') ||
        book.contains(u'\\'))
        throw StoreError(StoreError::Code::CannotOpen,
                         QStringLiteral("Il nome della rubrica \"%1\" non è valido.").arg(book));
    return folder.bookPath(book);
}

} // namespace parlix
