#include "csvexport.h"

#include "core/programstate.h"
#include "core/textfile.h"
#include "store/recordset.h"
#include "store/store.h"
#include "transfer/csvformat.h"

namespace parlix {

bool writeContactsFile(const QString& path, const std::vector<Contact>& contacts)
{
    QByteArray text = csv::header().toUtf8() + "\r\n";
    for (const Contact& contact : contacts) {
        text += csv::writeContact(contact).toUtf8();
        text += "\r\n";
    }
    return textfile::writeWhole(path, text);
}

std::vector<Contact> bookContacts(ProgramState& state, const QString& book)
{
    Recordset rs(state.store->open(state.folder.bookPath(book)),
                 queries::wholeTable(QStringLiteral("rubrica")));
    const int nome = rs.fieldIndex(u"Nome");
    const int cognome = rs.fieldIndex(u"cognome");
    const int cellulare = rs.fieldIndex(u"cellulare");
    const int email = rs.fieldIndex(u"email");
    const int icona = rs.fieldIndex(u"icona");
    std::vector<Contact> contacts;
    for (; !rs.eof(); rs.moveNext())
        contacts.push_back(
            {rs.field(nome), rs.field(cognome), rs.field(cellulare), rs.field(email), rs.field(icona)});
    return contacts;
}

} // namespace parlix
