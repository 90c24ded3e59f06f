#pragma once

#include <QString>
#include <QStringList>

namespace parlix {

class Store;

// Why the gateway did not take an SMS, in words for the user, from the
// answer code a send returned (never 0).
QString refusalReason(long result);

// The recipients of the sent message stored in `bookPath` of `store` as the
// inviati row with key `record` and this date and text, one line each with
// what the gateway answered, as its journal kept it; empty when the journal
// has no such batch (older messages, or a book without a journal). Throws
// StoreError when the book cannot be read.
QStringList sentOutcomeLines(Store& store, const QString& bookPath, long long record, const QString& data,
                             const QString& testo);

// The lines above as one message: every line for a short list; for a long
// one the number accepted, then only the recipients not accepted, the first
// `maxLines` of them.
QString sentOutcomeText(const QStringList& lines, int maxLines = 25);

} // namespace parlix
