#pragma once

#include "contacts/contact.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace parlix::vcard {

// One card read into a contact (`icona` "4"):
// - Cognome and Nome from the structured name (N), or from the formatted name
//   (FN) split into given names and surname when N names no one;
// - Cellulare from the number typed as a mobile (TEL with type CELL), else
//   the first number of a mobile plan, else the first number;
// - Email from the first e-mail address.
// A card with no number that can be dialled gives a contact with an empty
// Cellulare; `label` names the card for the user (its formatted name, else
// its names, else its e-mail).
struct CardContact
{
    Contact contact;
    QString label;
};

// `text` is one card as CardReader gives it, in any version (2.1, 3.0, 4.0).
// A card that is not valid UTF-8 and declares no character set is taken as
// Windows-1252, as every text file of the program. Throws ParserMissing
// (vcardparserloader.h) when the vCard parser module or the phone number
// module (contacts/phonenumberloader.h) cannot be loaded.
CardContact readCard(const QByteArray& text);

// A telephone number of a card.
struct CardNumber
{
    QString value;       // as the card writes it
    bool mobile = false; // typed CELL
};

// The number a card's contact is kept under, as the book stores numbers:
// digits only, "+" first for a foreign number, and an Italian one without its
// country code (the program adds it when it sends). Empty when no number
// can be dialled. Throws ParserMissing when the phone number module is needed
// and cannot be loaded.
QString chooseNumber(const std::vector<CardNumber>& numbers);

} // namespace parlix::vcard
