#include "interruptedbatches.h"

#include "contacts/bookcontacts.h"
#include "core/datafolder.h"
#include "core/numbers.h"
#include "core/storechoice.h"
#include "sending/batchjournal.h"
#include "sending/scheduledstore.h"
#include "store/database.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix {

namespace {

void readJournal(Store& store, const QString& book, const QString& path, std::vector<InterruptedBatch>& found)
{
    ScheduledStore journal(store, path);
    for (const ScheduledBatch& batch : journal.interrupted()) {
        InterruptedBatch item;
        item.book = book;
        item.id = batch.id;
        item.data = batch.sentDate;
        item.testo = batch.text;
        for (const RecipientEntry& entry : journal.entries(batch.id)) {
            ++item.total;
            switch (entry.state) {
            case RecipientEntry::State::Accepted:
                ++item.accepted;
                break;
            case RecipientEntry::State::Refused:
                ++item.refused;
                break;
            case RecipientEntry::State::UnderWay:
            case RecipientEntry::State::InDoubt:
                ++item.uncertain;
                break;
            case RecipientEntry::State::Waiting:
                item.unserved << entry.number;
                break;
            case RecipientEntry::State::Moved:
                break;
            }
        }
        found.push_back(std::move(item));
    }
}

void readBook(Store& store, const QString& book, const QString& path, std::vector<InterruptedBatch>& found)
{
    readJournal(store, book, path, found);
    auto db = store.open(path);
    if (!db->hasTable(QStringLiteral("lotti")))
        return;
    BatchJournal journal(db);
    for (const BatchJournal::Batch& batch : journal.interrupted()) {
        InterruptedBatch item;
        item.earlierJournal = true;
        item.book = book;
        item.id = batch.id;
        item.data = batch.data;
        item.testo = batch.testo;
        for (const BatchJournal::Entry& entry : journal.entries(batch.id)) {
            ++item.total;
            switch (entry.state) {
            case BatchJournal::State::Accepted:
                ++item.accepted;
                break;
            case BatchJournal::State::Refused:
                ++item.refused;
                break;
            case BatchJournal::State::Sending:
                ++item.uncertain;
                break;
            case BatchJournal::State::Waiting:
                item.unserved << entry.recipient.cellulare;
                break;
            }
        }
        found.push_back(std::move(item));
    }
}

} // namespace

std::vector<InterruptedBatch> findInterruptedBatches(const DataFolder& folder)
{
    std::vector<InterruptedBatch> found;
    const std::shared_ptr<Store> store = chooseStore(folder);
    QStringList books;
    try {
        books = bookNames(*store, folder.bookList());
    } catch (const StoreError&) {
        return found; // an unreadable list is reported where the list is read
    }
    for (const QString& book : books) {
        const QString path = folder.bookPath(book);
        if (path.isEmpty())
            continue;
        try {
            readBook(*store, book, path, found);
        } catch (const StoreError&) {
            // A damaged book is reported when it is opened.
        }
    }
    return found;
}

QString interruptedBatchText(const InterruptedBatch& batch)
{
    QString text = QStringLiteral("L'invio del %1 dalla rubrica \"%2\" si è interrotto.\n"
                                  "Messaggi accettati: %3 di %4.")
                       .arg(batch.data, batch.book, QString::number(batch.accepted),
                            numbers::counted(batch.total, QStringLiteral("destinatario"),
                                             QStringLiteral("destinatari")));
    if (batch.refused > 0)
        text += QStringLiteral("\nRifiutati: %1.").arg(batch.refused);
    if (batch.uncertain > 0)
        text += QStringLiteral("\nIn corso di invio all'interruzione (non verranno ripetuti): %1.")
                    .arg(batch.uncertain);
    if (batch.unserved.size() == 1)
        text += QStringLiteral("\n\nInviare lo stesso testo al destinatario non ancora servito?");
    else if (!batch.unserved.isEmpty())
        text += QStringLiteral("\n\nInviare lo stesso testo ai %1 destinatari non ancora serviti?")
                    .arg(batch.unserved.size());
    return text;
}

void closeInterruptedBatch(const DataFolder& folder, const InterruptedBatch& batch)
{
    if (batch.earlierJournal)
        BatchJournal(*chooseStore(folder), folder.bookPath(batch.book)).finish(batch.id);
    else
        ScheduledStore(*chooseStore(folder), folder.bookPath(batch.book)).close(batch.id);
}

} // namespace parlix
