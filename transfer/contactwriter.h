#pragma once

#include "contacts/contact.h"
#include "transfer/progress.h"

#include <QString>

#include <vector>

namespace parlix {

struct ProgramState;

// Appends contacts to a book's table rubrica in one transaction: all of them
// or, when the store fails, none; `progress` hears of every few rows written.
// Store failures throw StoreError.
void appendContacts(const ProgramState& state, const QString& bookPath, const std::vector<Contact>& contacts,
                    const Progress& progress = {});

} // namespace parlix
