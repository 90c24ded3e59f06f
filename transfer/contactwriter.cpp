#include "contactwriter.h"

#include "core/faultpoint.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix {

namespace {

std::shared_ptr<Database> openBook(const ProgramState& state, const QString& bookPath)
{
    std::shared_ptr<Database> book = state.store->open(bookPath);
    if (!book->hasTable(QStringLiteral("rubrica")))
        throw StoreError(StoreError::Code::NoSuchTable,
                         QStringLiteral("L'archivio non contiene la tabella \"rubrica\"."));
    return book;
}

} // namespace

ContactAppender::ContactAppender(const ProgramState& state, const QString& bookPath)
    : book_(openBook(state, bookPath)), transaction_(*book_),
      insert_(*book_,
              "INSERT INTO rubrica (\"Nome\", cognome, cellulare, email, icona) VALUES (?, ?, ?, ?, ?)")
{}

void ContactAppender::append(const Contact& contact)
{
    insert_.bind(1, contact.nome);
    insert_.bind(2, contact.cognome);
    insert_.bind(3, contact.cellulare);
    insert_.bind(4, contact.email);
    insert_.bind(5, contact.icona);
    insert_.step();
    faultpoint::reach("contacts.append.row");
}

void ContactAppender::appendUtf8(QByteArrayView nome, QByteArrayView cognome, QByteArrayView cellulare,
                                 QByteArrayView email)
{
    insert_.bindUtf8(1, nome);
    insert_.bindUtf8(2, cognome);
    insert_.bindUtf8(3, cellulare);
    insert_.bindUtf8(4, email);
    insert_.bindUtf8(5, "4");
    insert_.step();
    faultpoint::reach("contacts.append.row");
}

void ContactAppender::commit()
{
    faultpoint::reach("contacts.append.commit");
    transaction_.commit();
    faultpoint::reach("contacts.append.done");
}

} // namespace parlix
