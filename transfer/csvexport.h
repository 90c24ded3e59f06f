#pragma once

#include "contacts/contact.h"
#include "transfer/bookrows.h"

#include <QString>

#include <vector>

namespace parlix {

// Writes a contact exchange file: the header, then one line per contact in
// the order given. The file is replaced whole, or left as it was when it
// cannot be written (false).
bool writeContactsFile(const QString& path, const std::vector<Contact>& contacts);

} // namespace parlix
