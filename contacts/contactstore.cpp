#include "contactstore.h"

#include "core/faultpoint.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/transaction.h"

namespace parlix {

namespace {

void writeFields(Recordset& rs, const Contact& contact)
{
    rs.setField(u"Nome", contact.nome);
    rs.setField(u"cognome", contact.cognome);
    rs.setField(u"cellulare", contact.cellulare);
    rs.setField(u"email", contact.email);
    rs.setField(u"icona", contact.icona);
}

Contact readFields(const Recordset& rs)
{
    return {rs.field(u"Nome"), rs.field(u"cognome"), rs.field(u"cellulare"), rs.field(u"email"),
            rs.field(u"icona")};
}

} // namespace

void ContactStore::openBook(const QString& book)
{
    state_.percorsodb = state_.folder.bookPath(book);
    state_.openDatabase(state_.percorsodb);
}

std::optional<Contact> ContactStore::find(const QString& book, const QString& number)
{
    openBook(book);
    Recordset& rs = state_.openRecordset(queries::contactByNumber(number));
    if (rs.eof())
        return std::nullopt;
    return readFields(rs);
}

ContactStore::AddOutcome ContactStore::add(const QString& book, const Contact& contact)
{
    openBook(book);
    // The check and the insert in one exclusive transaction: two programs
    // adding the same number at once store it once.
    Transaction transaction(*state_.dbcorrente, Transaction::Mode::Exclusive);
    // The index finds the candidates ignoring case; the test itself is exact.
    Recordset& rs = state_.openRecordset(queries::contactByNumber(contact.cellulare));
    const int field = rs.fieldIndex(u"cellulare");
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.field(field) == contact.cellulare)
            return AddOutcome::Duplicate;
    }
    rs.addNew();
    writeFields(rs, contact);
    rs.update();
    // The row is stored whole with the commit, or not at all.
    faultpoint::reach("contact.add.row");
    transaction.commit();
    faultpoint::reach("contact.add.done");
    return AddOutcome::Added;
}

bool ContactStore::replace(const QString& book, const QString& number, const Contact& contact)
{
    openBook(book);
    Recordset& rs = state_.openRecordset(queries::contactByNumber(number));
    if (rs.eof())
        return false;
    rs.edit();
    writeFields(rs, contact);
    faultpoint::reach("contact.replace.row");
    rs.update();
    faultpoint::reach("contact.replace.done");
    return true;
}

} // namespace parlix
