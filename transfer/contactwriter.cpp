#include "contactwriter.h"

#include "core/faultpoint.h"
#include "core/programstate.h"
#include "store/store.h"

namespace parlix {

namespace {

constexpr int progressStep = 512;

} // namespace

ContactAppender::ContactAppender(const ProgramState& state, const QString& bookPath)
    : book_(state.store->open(bookPath)), transaction_(*book_),
      // Opened on no row: it only appends.
      insert_(book_, queries::rowById(QStringLiteral("rubrica"), 0))
{}

void ContactAppender::append(const Contact& contact)
{
    insert_.addNew();
    insert_.setField(u"Nome", contact.nome);
    insert_.setField(u"cognome", contact.cognome);
    insert_.setField(u"cellulare", contact.cellulare);
    insert_.setField(u"email", contact.email);
    insert_.setField(u"icona", contact.icona);
    insert_.update();
    faultpoint::reach("contacts.append.row");
}

void ContactAppender::commit()
{
    faultpoint::reach("contacts.append.commit");
    transaction_.commit();
    faultpoint::reach("contacts.append.done");
}

void appendContacts(const ProgramState& state, const QString& bookPath, const std::vector<Contact>& contacts,
                    const Progress& progress)
{
    ContactAppender appender(state, bookPath);
    const int total = int(contacts.size());
    int written = 0;
    for (const Contact& contact : contacts) {
        appender.append(contact);
        if (progress && ++written % progressStep == 0)
            progress(written, total);
    }
    appender.commit();
    if (progress)
        progress(total, total);
}

} // namespace parlix
