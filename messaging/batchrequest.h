#pragma once

#include "messaging/messagearchive.h"

#include <QString>
#include <QStringList>

namespace parlix {

// Everything a send batch needs from the composer.
struct BatchRequest
{
    // Multiple mode: part 1 to every recipient, in order. Single mode: every
    // part, in order, to the one recipient.
    bool multiple = false;
    QStringList recipients;
    QStringList parts;
    bool flash = false;
    QString sender;       // the header text, handed to the gateway unchanged
    QString book;         // the book whose inviati receives the record
    MessageRecord record; // written before the first SMS goes out

    // The number of SMS the batch sends.
    int smsCount() const { return int(multiple ? recipients.size() : parts.size()); }
};

} // namespace parlix
