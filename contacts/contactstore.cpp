#include "contactstore.h"

#include "core/faultpoint.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store.h"
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

// Whether a contact other than the one stored under `exceptKey` holds exactly
// `number`. The index finds the candidates ignoring case; the test is exact.
bool numberTaken(const std::shared_ptr<Database>& db, const QString& number, long long exceptKey = 0)
{
    Recordset rs(db, queries::contactByNumber(number));
    const int field = rs.fieldIndex(u"cellulare");
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.field(field) == number && rs.rowid() != exceptKey)
            return true;
    }
    return false;
}

} // namespace

std::shared_ptr<Database> ContactStore::openBook(const QString& book) const
{
    return state_.store->open(state_.folder.bookPath(book));
}

std::optional<Contact> ContactStore::find(const QString& book, long long key)
{
    Recordset rs(openBook(book), queries::rowById(QStringLiteral("rubrica"), key));
    if (rs.eof())
        return std::nullopt;
    return readFields(rs);
}

ContactStore::AddOutcome ContactStore::add(const QString& book, const Contact& contact)
{
    const std::shared_ptr<Database> db = openBook(book);
    // The check and the insert in one exclusive transaction: two programs
    // adding the same number at once store it once.
    Transaction transaction(*db, Transaction::Mode::Exclusive);
    if (numberTaken(db, contact.cellulare))
        return AddOutcome::Duplicate;
    // Opened on no row: it only appends.
    Recordset rs(db, queries::rowById(QStringLiteral("rubrica"), 0));
    rs.addNew();
    writeFields(rs, contact);
    rs.update();
    // The row is stored whole with the commit, or not at all.
    faultpoint::reach("contact.add.row");
    transaction.commit();
    faultpoint::reach("contact.add.done");
    return AddOutcome::Added;
}

ContactStore::ReplaceOutcome ContactStore::replace(const QString& book, long long key, const Contact& contact)
{
    const std::shared_ptr<Database> db = openBook(book);
    Transaction transaction(*db, Transaction::Mode::Exclusive);
    Recordset rs(db, queries::rowById(QStringLiteral("rubrica"), key));
    if (rs.eof())
        return ReplaceOutcome::Gone;
    // The contact keeps its own number even when another contact shares it
    // (an import may have stored both); a new number must be free.
    if (contact.cellulare != rs.field(u"cellulare") && numberTaken(db, contact.cellulare, key))
        return ReplaceOutcome::Duplicate;
    rs.edit();
    writeFields(rs, contact);
    faultpoint::reach("contact.replace.row");
    rs.update();
    transaction.commit();
    faultpoint::reach("contact.replace.done");
    return ReplaceOutcome::Replaced;
}

} // namespace parlix
