#include "archivedeletion.h"

#include "contacts/bookfile.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/transaction.h"

#include <array>

namespace parlix {

ArchiveDeletion::ArchiveDeletion(ProgramState& state, ArchiveKind kind, QString book)
    : state_(state), kind_(kind), book_(std::move(book))
{}

bool ArchiveDeletion::locate(const RowSelection& row)
{
    const QString table = archiveTable(kind_);
    if (row.rowid == 0) {
        const Query query = kind_ == ArchiveKind::Contacts
                                ? queries::contactByNumber(row.cellulare)
                                : queries::messageByNumberAndDate(table, row.cellulare, row.data);
        return !state_.openRecordset(query).eof();
    }
    Recordset& rs = state_.openRecordset(queries::rowById(table, row.rowid));
    // A rowid freed by a deletion can come back on a row added since.
    return !rs.eof() && rs.field(u"cellulare") == row.cellulare &&
           (kind_ == ArchiveKind::Contacts || rs.field(u"Data") == row.data);
}

void ArchiveDeletion::removeCurrent()
{
    state_.rscorrente->deleteCurrent();
}

bool ArchiveDeletion::deleteRow(const RowSelection& row)
{
    state_.percorsodb = bookFile(state_.folder, book_);
    state_.openDatabase(state_.percorsodb);
    const bool found = locate(row);
    if (found)
        removeCurrent();
    // A cursor left in the middle of its rows keeps a read lock on the book,
    // and every other writer (the composer, the contact editor) would wait on it.
    state_.rscorrente.reset();
    return found;
}

bool ArchiveDeletion::deleteTickedRow(const RowSelection& row)
{
    if (kind_ != ArchiveKind::Sent)
        return deleteRow(row);

    state_.percorsodb = bookFile(state_.folder, book_);
    Database& db = state_.openDatabase(state_.percorsodb);
    Transaction transaction(db);
    std::array<QString, 4> kept{row.cognome, row.cellulare, row.data, row.testo};
    const std::array<const char16_t*, 4> fields{u"cognome", u"cellulare", u"Data", u"Testo"};
    const bool found = locate(row);
    if (found) {
        for (size_t i = 0; i < fields.size(); ++i)
            kept[i] = state_.rscorrente->field(fields[i]);
        removeCurrent();
    }
    Recordset& copy = state_.openRecordset(queries::wholeTable(QStringLiteral("cancellati")));
    copy.addNew();
    for (size_t i = 0; i < fields.size(); ++i)
        copy.setField(fields[i], kept[i]);
    copy.update();
    state_.rscorrente.reset();
    transaction.commit();
    return found;
}

} // namespace parlix
