#include "contactwriter.h"

#include "core/faultpoint.h"
#include "core/programstate.h"
#include "store/recordset.h"
#include "store/store.h"
#include "store/transaction.h"

namespace parlix {

namespace {

constexpr int progressStep = 512;

} // namespace

void appendContacts(const ProgramState& state, const QString& bookPath, const std::vector<Contact>& contacts,
                    const Progress& progress)
{
    const std::shared_ptr<Database> book = state.store->open(bookPath);
    Database& db = *book;
    Transaction transaction(db);
    // Opened on no row: it only appends.
    Recordset insert(book, queries::rowById(QStringLiteral("rubrica"), 0));
    const int total = int(contacts.size());
    int written = 0;
    for (const Contact& contact : contacts) {
        insert.addNew();
        insert.setField(u"Nome", contact.nome);
        insert.setField(u"cognome", contact.cognome);
        insert.setField(u"cellulare", contact.cellulare);
        insert.setField(u"email", contact.email);
        insert.setField(u"icona", contact.icona);
        insert.update();
        faultpoint::reach("contacts.append.row");
        if (progress && ++written % progressStep == 0)
            progress(written, total);
    }
    faultpoint::reach("contacts.append.commit");
    transaction.commit();
    faultpoint::reach("contacts.append.done");
    if (progress)
        progress(total, total);
}

} // namespace parlix
