#pragma once

#include "contacts/contact.h"

#include <QString>

#include <optional>
#include <vector>

namespace parlix {

struct ProgramState;

// What the search window's four boxes hold.
struct SearchBoxes
{
    QString cognome;
    QString cellulare;
    QString nome;
    QString email;
};

// The field searched and the beginning looked for.
struct SearchCriterion
{
    QString field; // cognome, cellulare, nome or email
    QString text;

    bool operator==(const SearchCriterion&) const = default;
};

// Of the boxes that hold text, the last in the order surname, number, first
// name, e-mail decides; nothing when all are empty.
std::optional<SearchCriterion> searchCriterion(const SearchBoxes& boxes);

// Finds the contacts of a book whose field begins with the text, in any mix
// of upper and lower case (Unicode case folding); the text is plain data (quotes and LIKE wildcards match
// themselves). Rows come in the reading order of the searched field (see
// ReadingOrder), equal ones in stored order. Uses the program's shared handles;
// store failures throw StoreError.
class ContactSearch
{
public:
    explicit ContactSearch(ProgramState& state) : state_(state) {}

    std::vector<Contact> find(const QString& book, const SearchBoxes& boxes);
    std::vector<Contact> find(const QString& book, const SearchCriterion& criterion);

private:
    ProgramState& state_;
};

} // namespace parlix
