#pragma once

#include "core/datafolder.h"
#include "sending/scheduledstore.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace parlix {

class Store;

// A batch kept for later, with the book it lives in.
struct BookBatch
{
    QString book;
    ScheduledBatch batch;
};

// Every batch still to go in the books of `folder`, book by book, soonest
// first within a book. A book that cannot be read is left out: it has nothing
// that can be sent either. Throws StoreError when the book list cannot be read.
QList<BookBatch> waitingBatches(Store& store, const DataFolder& folder);

// How late a batch may start without asking: a few missed minutes (the
// program started just after the time) are no news to anyone.
constexpr qint64 OverdueGraceSeconds = 15 * 60;

// The batches of `batches` whose time passed more than the grace before `now`.
QList<BookBatch> overdueBatches(const QList<BookBatch>& batches, const QDateTime& now);

// The question at start for a batch that should have gone long ago: Yes sends
// it now, No cancels it, Cancel keeps it waiting unsent.
QString overdueQuestion(const BookBatch& waiting, const QDateTime& now);

// What closing the program at `now` means for the batches still to go;
// `timerOn` says whether the user timer that sends them is already on.
// Without it the text ends with the offer to turn it on.
QString closingNotice(const QList<BookBatch>& batches, const QDateTime& now, bool timerOn);

} // namespace parlix
