#pragma once

#include "contacts/contact.h"
#include "store/statement.h"
#include "store/transaction.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

namespace parlix {

class Database;
struct ProgramState;

// Appends contacts to a book's table rubrica in one transaction: all of them
// or, when the store fails or commit() is never reached, none. The appender
// opens the book through the store and owns that connection. Store failures
// throw StoreError.
class ContactAppender
{
public:
    ContactAppender(const ProgramState& state, const QString& bookPath);
    ContactAppender(const ContactAppender&) = delete;
    ContactAppender& operator=(const ContactAppender&) = delete;

    void append(const Contact& contact);
    // A contact whose values are already UTF-8 (as read from a file), icona "4".
    void appendUtf8(QByteArrayView nome, QByteArrayView cognome, QByteArrayView cellulare,
                    QByteArrayView email);
    void commit();

private:
    std::shared_ptr<Database> book_;
    Transaction transaction_;
    Statement insert_; // prepared once, run for every row
};

} // namespace parlix
