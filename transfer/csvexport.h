#pragma once

#include "contacts/contact.h"
#include "transfer/bookrows.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace parlix {

struct ProgramState;

// Where an export's bytes go, a block at a time; false when the writing failed.
using ByteSink = std::function<bool(const QByteArray& block)>;

// The header, then every contact of a book in stored order, handed to `sink`
// a block at a time while the book is read a block of rows at a time: the
// memory taken does not grow with the book. How many contacts were written,
// or nothing when `sink` failed. Store failures throw StoreError.
std::optional<int> writeBookContacts(const ProgramState& state, const QString& book, const ByteSink& sink);

// A contact exchange file: the header, then one line per contact in the order given.
QByteArray contactsFileBytes(const std::vector<Contact>& contacts);
// Writes that file. It is replaced whole (through a link, see userfile.h), or
// left as it was when it cannot be written: false, with the reason in `error`.
bool writeContactsFile(const QString& path, const std::vector<Contact>& contacts, QString* error = nullptr);

} // namespace parlix
