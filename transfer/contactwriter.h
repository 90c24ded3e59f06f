#pragma once

#include "contacts/contact.h"
#include "transfer/progress.h"

#include <QString>

#include <vector>

namespace parlix {

struct ProgramState;

// Appends contacts to a book's table rubrica in one transaction: all of them
// or, when the store fails, none. The book is opened through the program's
// shared handles, which are left on it unless `progress` (which hears of
// every few rows written) lets another form replace them. Store failures throw StoreError.
void appendContacts(ProgramState& state, const QString& bookPath, const std::vector<Contact>& contacts,
                    const Progress& progress = {});

} // namespace parlix
