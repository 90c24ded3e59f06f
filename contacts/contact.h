#pragma once

#include <QString>

namespace parlix {

// One row of a book's table rubrica. `cellulare` is the contact's key: the
// prefix followed at once by the rest of the number.
struct Contact
{
    QString nome;
    QString cognome;
    QString cellulare;
    QString email;
    QString icona;

    bool operator==(const Contact&) const = default;
};

} // namespace parlix
