#include "bookrows.h"

#include "core/programstate.h"
#include "store/recordset.h"
#include "store/store.h"

namespace parlix {

void forEachBookContact(const ProgramState& state, const QString& book,
                        const std::function<bool(const Contact&)>& each)
{
    Recordset rs(state.store->open(state.folder.bookPath(book)),
                 queries::wholeTable(QStringLiteral("rubrica")));
    const int nome = rs.fieldIndex(u"Nome");
    const int cognome = rs.fieldIndex(u"cognome");
    const int cellulare = rs.fieldIndex(u"cellulare");
    const int email = rs.fieldIndex(u"email");
    const int icona = rs.fieldIndex(u"icona");
    for (; !rs.eof(); rs.moveNext())
        if (!each({rs.field(nome), rs.field(cognome), rs.field(cellulare), rs.field(email), rs.field(icona)}))
            return;
}

std::vector<Contact> bookContacts(const ProgramState& state, const QString& book)
{
    std::vector<Contact> contacts;
    forEachBookContact(state, book, [&contacts](const Contact& contact) {
        contacts.push_back(contact);
        return true;
    });
    return contacts;
}

} // namespace parlix
