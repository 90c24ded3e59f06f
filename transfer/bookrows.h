#pragma once

#include "contacts/contact.h"

#include <QString>

#include <functional>
#include <vector>

namespace parlix {

struct ProgramState;

// Hands every contact of a book, in stored order, to `each`, read a block of
// rows at a time through a connection of its own; `each` returns false to
// stop. Store failures throw StoreError.
void forEachBookContact(const ProgramState& state, const QString& book,
                        const std::function<bool(const Contact&)>& each);

// Every contact of a book, in stored order.
std::vector<Contact> bookContacts(const ProgramState& state, const QString& book);

} // namespace parlix
