#pragma once

#include "contacts/contact.h"

#include <QString>

#include <memory>
#include <optional>

namespace parlix {

class Database;
struct ProgramState;

// Adding, reading and changing contacts of one book. A contact already stored
// is named by its row key (what the archive list shows it by), never by its
// number: several contacts may share one. A book is "rubriche/<name>" of the
// data folder and must exist; each call opens it for itself. Store failures
// throw StoreError.
class ContactStore
{
public:
    enum class AddOutcome { Added, Duplicate };
    enum class ReplaceOutcome {
        Replaced,
        Gone,      // no row has that key any more: nothing stored
        Duplicate, // another contact of the book holds the number: nothing stored
    };

    explicit ContactStore(const ProgramState& state) : state_(state) {}

    // The contact stored under `key`, or nothing.
    std::optional<Contact> find(const QString& book, long long key);
    // Appends the contact unless the book already holds exactly its number.
    AddOutcome add(const QString& book, const Contact& contact);
    // Overwrites every field of the contact stored under `key`, unless its
    // number changes to one that another contact of the book holds exactly.
    ReplaceOutcome replace(const QString& book, long long key, const Contact& contact);

private:
    std::shared_ptr<Database> openBook(const QString& book) const;

    const ProgramState& state_;
};

} // namespace parlix
