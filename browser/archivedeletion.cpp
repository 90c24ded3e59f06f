#include "archivedeletion.h"

#include "browser/bookfile.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/transaction.h"

namespace parlix {

ArchiveDeletion::ArchiveDeletion(ProgramState& state, ArchiveKind kind, QString book)
    : state_(state), kind_(kind), book_(std::move(book))
{}

bool ArchiveDeletion::removeFirstMatch(const RowSelection& row)
{
    const Query query = kind_ == ArchiveKind::Contacts
                            ? queries::contactByNumber(row.cellulare)
                            : queries::messageByNumberAndDate(archiveTable(kind_), row.cellulare, row.data);
    Recordset& rs = state_.openRecordset(query);
    const bool found = rs.recordCount() != 0;
    if (found)
        rs.deleteCurrent();
    // A cursor left in the middle of its rows keeps a read lock on the book,
    // and every other writer (the composer, the contact editor) would wait on it.
    state_.rscorrente.reset();
    return found;
}

bool ArchiveDeletion::deleteRow(const RowSelection& row)
{
    state_.percorsodb = bookFile(state_.folder, book_);
    state_.openDatabase(state_.percorsodb);
    return removeFirstMatch(row);
}

bool ArchiveDeletion::deleteTickedRow(const RowSelection& row)
{
    if (kind_ != ArchiveKind::Sent)
        return deleteRow(row);

    state_.percorsodb = bookFile(state_.folder, book_);
    Database& db = state_.openDatabase(state_.percorsodb);
    Transaction transaction(db);
    Recordset& copy = state_.openRecordset(queries::wholeTable(QStringLiteral("cancellati")));
    copy.addNew();
    copy.setField(u"cognome", row.cognome);
    copy.setField(u"cellulare", row.cellulare);
    copy.setField(u"Data", row.data);
    copy.setField(u"Testo", row.testo);
    copy.update();
    const bool removed = removeFirstMatch(row);
    transaction.commit();
    return removed;
}

} // namespace parlix
