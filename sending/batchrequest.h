#pragma once

#include "sending/messagearchive.h"

#include <QList>
#include <QPair>
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
    // Multiple mode with merge fields: each recipient's own parts, in the
    // order of `recipients`; `parts` is then not used.
    QList<QStringList> recipientParts;
    // Numbers of `recipients` in the opt-out register: journalled as excluded, never sent.
    QStringList excluded;
    bool flash = false;
    QString sender;       // the header text, handed to the gateway unchanged
    QString book;         // the book whose inviati receives the record
    MessageRecord record; // written before the first SMS goes out

    // The number of SMS the batch sends, which is also the credit it needs.
    int smsCount() const
    {
        int count = 0;
        for (const auto& [number, texts] : byRecipient()) {
            if (!excluded.contains(number))
                count += int(texts.size());
        }
        return count;
    }

    // Each recipient in order, as its number and the texts of its SMS.
    QList<QPair<QString, QStringList>> byRecipient() const
    {
        QList<QPair<QString, QStringList>> list;
        if (!recipientParts.isEmpty()) {
            for (qsizetype i = 0; i < recipients.size(); ++i)
                list.append({recipients.at(i), recipientParts.value(i)});
        } else if (multiple) {
            for (const QString& number : recipients)
                list.append({number, {parts.value(0)}});
        } else {
            list.append({recipients.value(0), parts});
        }
        return list;
    }

    // Every SMS of the batch in sending order, as its number and its text.
    QList<QPair<QString, QString>> messages() const
    {
        QList<QPair<QString, QString>> sms;
        for (const auto& [number, texts] : byRecipient()) {
            for (const QString& text : texts)
                sms.append({number, text});
        }
        return sms;
    }
};

} // namespace parlix
