#pragma once

#include "contacts/contact.h"

#include <QString>

#include <vector>

namespace parlix {

struct ProgramState;

// Writes a contact exchange file: the header, then one line per contact in
// the order given. The file is replaced whole, or left as it was when it
// cannot be written (false).
bool writeContactsFile(const QString& path, const std::vector<Contact>& contacts);

// Every contact of a book, in stored order, read through the program's shared
// handles. Store failures throw StoreError.
std::vector<Contact> bookContacts(ProgramState& state, const QString& book);

} // namespace parlix
