#pragma once

#include "store/commitfiles.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace parlix {

class Database;
class Statement;
class Store;

// The journal of send batches, kept in the book's own database beside the
// inviati row of each batch: which recipients a batch has, and for each what
// the gateway answered. Written as the batch goes, one small commit per block
// of recipients, so that a batch cut short by a crash still tells who was served.
//
// A block of recipients is marked "sending" just before its first SMS goes
// out, in the commit that records the answers of the block before: one left
// "sending" by a crash may or may not have been served and is never offered
// again. The sender keeps blocks to one recipient unless the gateway answers
// far faster than a commit takes, so that only then can a crash leave more
// than one recipient in doubt. Books made before the journal existed
// get its tables the first time one is opened on them; nothing else changes.
//
// Widget-free; one instance serves one thread.
class BatchJournal
{
public:
    enum class State { Waiting, Sending, Accepted, Refused };

    struct Recipient
    {
        QString cognome;
        QString cellulare;
    };

    struct Entry
    {
        Recipient recipient;
        State state = State::Waiting;
        long result = 0; // the gateway's answer code once known (0 accepted)
    };

    struct Batch
    {
        long long id = 0;
        QString data;  // as in the inviati row
        QString testo; // the whole text
        bool finished = false;
    };

    // Opens the journal of the book at `bookPath` of `store`, adding its tables
    // when missing. A journal written from a worker thread gets a store of its
    // own (chooseStore()). Throws StoreError when the book cannot be opened or changed.
    BatchJournal(Store& store, const QString& bookPath);
    explicit BatchJournal(std::shared_ptr<Database> book);
    ~BatchJournal();
    BatchJournal(const BatchJournal&) = delete;
    BatchJournal& operator=(const BatchJournal&) = delete;

    // Records a new batch with all its recipients waiting; returns its id.
    long long begin(const QString& data, const QString& testo, const std::vector<Recipient>& recipients);
    // The recipient at `position` (0-based, in the order given to begin) is about to be sent.
    void sending(long long batch, int position);
    // The gateway's answer for that recipient: 0 accepted, anything else refused.
    void answered(long long batch, int position, long result);
    // The answer for `position` and the recipient at `next` about to be sent,
    // in one commit.
    void answered(long long batch, int position, long result, int next);

    struct Answer
    {
        int position;
        long result;
    };
    // The answers given since the last commit, and the recipients
    // [markFrom, markTo) about to be sent, in one commit: a batch's one write
    // per block of recipients.
    void record(long long batch, const std::vector<Answer>& answers, int markFrom, int markTo);
    // Recipients [from, to) marked but never sent (the batch was stopped) wait again.
    void release(long long batch, int from, int to);
    // The batch ended (every recipient tried, or the user stopped it).
    void finish(long long batch);

    // Batches that never reached finish(), oldest first.
    std::vector<Batch> interrupted();
    std::optional<Batch> batch(long long id);
    // Ties the batch to its row in inviati, once written there: the newest row
    // with the batch's date and text and these cognome and cellulare that no
    // other batch has. Nothing when there is none.
    void link(long long batch, const QString& cognome, const QString& cellulare);
    // The batch of the inviati row with key `record` and this date and text:
    // the one tied to it, else the latest one with that date and text tied to
    // no row (batches recorded before their rows were tied).
    std::optional<long long> find(long long record, const QString& data, const QString& testo);
    std::vector<Entry> entries(long long batch);
    // The recipients of `batch` that were never tried: the only ones that may
    // safely get the same text again.
    std::vector<Recipient> unserved(long long batch);

private:
    void setState(long long batch, int position, State state, long result);

    std::shared_ptr<Database> db_;
    CommitFiles commitFiles_{*db_};
    Statement& cached(std::unique_ptr<Statement>& statement, const char* sql);
    void setRange(long long batch, int from, int to, State state, State only);

    // The steps taken for every block of a batch, prepared once per journal.
    std::unique_ptr<Statement> answer_;
    std::unique_ptr<Statement> markRange_;
};

} // namespace parlix
