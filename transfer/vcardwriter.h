#pragma once

#include "contacts/contact.h"

#include <QByteArray>

namespace parlix::vcard {

// One contact as a vCard 3.0 card, the version phones and webmail all import:
// UTF-8, lines ended by CR LF and folded at 75 octets (never inside a
// character), N and FN from the names, the number as TEL;TYPE=CELL, the
// e-mail address, when there is one, as EMAIL. Values are trimmed.
QByteArray cardText(const Contact& contact);

} // namespace parlix::vcard
