#pragma once

#include "contacts/contact.h"
#include "transfer/bookrows.h"

#include <QString>

#include <vector>

namespace parlix {

// A contact exchange file: the header, then one line per contact in the order given.
QByteArray contactsFileBytes(const std::vector<Contact>& contacts);
// Writes that file. It is replaced whole (through a link, see userfile.h), or
// left as it was when it cannot be written: false, with the reason in `error`.
bool writeContactsFile(const QString& path, const std::vector<Contact>& contacts, QString* error = nullptr);

} // namespace parlix
