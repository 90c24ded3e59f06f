#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace parlix {

class DataFolder;

// A send batch that ended before every recipient was tried (the program was
// killed, or the window closed under way), as its book's journal tells it.
struct InterruptedBatch
{
    QString book;
    long long id = 0;
    QString data;
    QString testo;
    int total = 0;
    int accepted = 0;
    int refused = 0;
    // Handed to the gateway when the batch stopped: it may have taken them,
    // so they are never sent again.
    int uncertain = 0;
    // The numbers never tried, in order: the only ones that may get the text again.
    QStringList unserved;
    // Kept in the journal of the earlier versions (lotti), not in programmati.
    bool earlierJournal = false;
};

// The interrupted batches of every book of the list, book by book, oldest
// first. Books that cannot be read, or that never had a batch, are passed over
// without being changed.
std::vector<InterruptedBatch> findInterruptedBatches(const DataFolder& folder);

// What the user is told about `batch`; when some recipients were never tried,
// it ends with the question whether to send them the same text.
QString interruptedBatchText(const InterruptedBatch& batch);

// The batch was shown to the user: it is not offered again. Throws StoreError.
void closeInterruptedBatch(const DataFolder& folder, const InterruptedBatch& batch);

} // namespace parlix
