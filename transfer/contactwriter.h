#pragma once

#include "contacts/contact.h"
#include "store/recordset.h"
#include "store/transaction.h"
#include "transfer/progress.h"

#include <QString>

#include <memory>
#include <vector>

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
    void commit();

private:
    std::shared_ptr<Database> book_;
    Transaction transaction_;
    Recordset insert_;
};

// Appends a list of contacts as above; `progress` hears of every few rows written.
void appendContacts(const ProgramState& state, const QString& bookPath, const std::vector<Contact>& contacts,
                    const Progress& progress = {});

} // namespace parlix
