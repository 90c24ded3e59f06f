#pragma once

#include "contacts/contact.h"

#include <QString>

#include <optional>

namespace parlix {

struct ProgramState;

// Adding, reading and changing contacts of one book, through the program's
// shared handles. A book is "rubriche/<name>" of the data folder and must
// exist; store failures throw StoreError.
class ContactStore
{
public:
    enum class AddOutcome { Added, Duplicate };

    explicit ContactStore(ProgramState& state) : state_(state) {}

    // The first contact whose number is `number` (ignoring case, as lookups
    // by number always have), or nothing.
    std::optional<Contact> find(const QString& book, const QString& number);
    // Appends the contact unless the book already holds exactly its number.
    AddOutcome add(const QString& book, const Contact& contact);
    // Overwrites every field of the contact found by `number` as find() does;
    // false, with nothing stored, when there is none.
    bool replace(const QString& book, const QString& number, const Contact& contact);

private:
    void openBook(const QString& book);

    ProgramState& state_;
};

} // namespace parlix
