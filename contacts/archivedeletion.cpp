#include "archivedeletion.h"

#include "contacts/bookfile.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store.h"
#include "store/transaction.h"

#include <array>

namespace parlix {

ArchiveDeletion::ArchiveDeletion(const ProgramState& state, ArchiveKind kind, QString book)
    : state_(state), kind_(kind), book_(std::move(book))
{}

std::unique_ptr<Recordset> ArchiveDeletion::locate(const std::shared_ptr<Database>& db,
                                                   const RowSelection& row)
{
    const QString table = archiveTable(kind_);
    if (row.rowid == 0) {
        const Query query = kind_ == ArchiveKind::Contacts
                                ? queries::contactByNumber(row.cellulare)
                                : queries::messageByNumberAndDate(table, row.cellulare, row.data);
        auto rs = std::make_unique<Recordset>(db, query);
        return rs->eof() ? nullptr : std::move(rs);
    }
    auto rs = std::make_unique<Recordset>(db, queries::rowById(table, row.rowid));
    // A rowid freed by a deletion can come back on a row added since.
    if (rs->eof() || rs->field(u"cellulare") != row.cellulare ||
        (kind_ != ArchiveKind::Contacts && rs->field(u"Data") != row.data))
        return nullptr;
    return rs;
}

bool ArchiveDeletion::deleteRow(const RowSelection& row)
{
    const std::unique_ptr<Recordset> found = locate(openBook(), row);
    if (found)
        found->deleteCurrent();
    return found != nullptr;
}

bool ArchiveDeletion::deleteTickedRow(const RowSelection& row)
{
    if (kind_ != ArchiveKind::Sent)
        return deleteRow(row);
    const std::shared_ptr<Database> db = openBook();
    Transaction transaction(*db);
    const bool found = removeTicked(db, row);
    transaction.commit();
    return found;
}

int ArchiveDeletion::deleteTickedRows(const std::vector<RowSelection>& rows)
{
    if (rows.empty())
        return 0;
    const std::shared_ptr<Database> db = openBook();
    Transaction transaction(*db);
    int removed = 0;
    for (const RowSelection& row : rows)
        removed += removeTicked(db, row) ? 1 : 0;
    transaction.commit();
    return removed;
}

bool ArchiveDeletion::removeTicked(const std::shared_ptr<Database>& db, const RowSelection& row)
{
    const std::unique_ptr<Recordset> found = locate(db, row);
    if (kind_ != ArchiveKind::Sent) {
        if (found)
            found->deleteCurrent();
        return found != nullptr;
    }
    std::array<QString, 4> kept{row.cognome, row.cellulare, row.data, row.testo};
    const std::array<const char16_t*, 4> fields{u"cognome", u"cellulare", u"Data", u"Testo"};
    if (found) {
        for (size_t i = 0; i < fields.size(); ++i)
            kept[i] = found->field(fields[i]);
        found->deleteCurrent();
    }
    Recordset copy(db, queries::rowById(QStringLiteral("cancellati"), 0));
    copy.addNew();
    for (size_t i = 0; i < fields.size(); ++i)
        copy.setField(fields[i], kept[i]);
    copy.update();
    return found != nullptr;
}

std::shared_ptr<Database> ArchiveDeletion::openBook() const
{
    return state_.store->open(bookFile(state_.folder, book_));
}

} // namespace parlix
