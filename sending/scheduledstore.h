#pragma once

#include "sending/batchplan.h"
#include "sending/messagearchive.h"
#include "sending/messagesplitter.h"
#include "sending/optoutregister.h"
#include "store/commitfiles.h"

#include <QElapsedTimer>

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace parlix {

class Database;
class Statement;
class Store;

// A batch kept in a book's database to be sent later, or being sent.
struct ScheduledBatch
{
    enum class State { Waiting, Sending, Done, Cancelled };

    qint64 id = 0;
    QDateTime due; // when it may leave
    QString text;  // as typed, merge fields included
    SplitMode split = SplitMode::Fixed;
    bool flash = false;
    QString sender;         // the header text at the time it was stored
    QString cognome;        // the inviati row: "<lista>"
    QString cellulare;      // the inviati row: the numbers joined by ";"
    bool immediate = false; // sent at once by the one who stored it, never by the scheduler
    State state = State::Waiting;
    QString account;    // the gateway login it is sent with; empty for batches stored before logins were kept
    QString sentDate;   // the Data of its inviati row, once it has left
    int recipients = 0; // when read back
    int sms = 0;        // when read back; none for the excluded recipients

    // A batch of `plan` due at `due`, whose inviati row will read `cognome`
    // and `cellulare` (for a list, "<lista>" and the numbers joined by ";").
    static ScheduledBatch forPlan(const BatchPlan& plan, const QDateTime& due, const QString& cognome,
                                  const QString& cellulare);
};

// One recipient taken by a runner: nobody else serves it.
struct RecipientClaim
{
    int position = 0;
    QString number;
    QString text;
    QStringList parts; // the SMS it gets, in order
};

// What a runner reports for a recipient it took.
struct RecipientResult
{
    int position = 0;
    long result = 0;  // 0, or the first failure among its SMS
    int accepted = 0; // SMS the gateway accepted
    // Nothing reached the gateway: the recipient waits again, for this run or a later one.
    bool unreached = false;
};

// One recipient of a batch as its journal tells it.
struct RecipientEntry
{
    enum class State {
        Waiting,
        UnderWay,
        Accepted,
        Refused,
        InDoubt,
        Moved,    // to a batch sending again
        Excluded, // in the opt-out register: never sent
    };
    QString number;
    State state = State::Waiting;
    long result = 0;
    QString cognome; // where the batch kept it
};

// Where the recipients of a batch stand.
struct RecipientCounts
{
    int waiting = 0;
    int waitingSms = 0;
    int underWay = 0; // taken by a runner that has not reported (yet)
    int served = 0;
    int refused = 0; // served, with a refusal
    int inDoubt = 0; // served, but the exchange was cut after the request left
    int acceptedSms = 0;
    int excluded = 0; // in the opt-out register: skipped, no credit spent
};

// The journal of every send batch of one book, whatever started it (the
// composer, parlix-cli send, a time set for later), in two tables of the
// book's database: programmati (the batch: time, text as typed, options,
// account, state) and programmati_destinatari (each recipient with its own
// text and, once served, its result). A book without the tables has no
// batches; they are made when the first batch is stored, and the columns
// added since are added to the tables of older books when first opened.
//
// Each recipient is served once, whoever runs the batch: a runner takes a
// block of recipients in an exclusive transaction (reporting the previous
// block's results in the same commit) and only then sends. A runner that dies
// leaves its block "under way": never taken again, because the gateway may
// have accepted its SMS.
//
// A recipient whose number the opt-out register of the data folder honours
// is never sent to: it is marked excluded when the batch is stored and again
// when a runner would take it (the register may have grown meanwhile).
class ScheduledStore
{
public:
    // Opens the book at `bookPath` of `store`; a runner on a thread or in a
    // process of its own passes a store of its own (chooseStore()). Throws StoreError.
    ScheduledStore(Store& store, const QString& bookPath);
    ~ScheduledStore();

    // Stores a batch with the recipients of `plan`, in one transaction; its id.
    qint64 add(const ScheduledBatch& batch, const BatchPlan& plan);
    qint64 add(const ScheduledBatch& batch, const QList<RecipientMessage>& recipients);
    // Stores a batch that leaves at once and starts it (see start()), in one commit; its id.
    qint64 addStarted(const ScheduledBatch& batch, const QList<RecipientMessage>& recipients,
                      const QString& date);

    // Batches waiting for their time, plus scheduled ones under way with
    // recipients left, soonest first.
    QList<ScheduledBatch> waiting();
    // The scheduled batches that may be run at `now` with the gateway login
    // `account`: those kept with another login are left to their own.
    QList<qint64> due(const QDateTime& now, const QString& account);
    std::optional<ScheduledBatch> batch(qint64 id);

    // Cancels a batch that has not left; false when it is under way or over.
    bool cancel(qint64 id);

    // Marks the batch as leaving and appends its row to inviati (the text as
    // typed, dated `date`), both in one transaction, so the row is written
    // once whoever starts it. True also when it had been started before and
    // may be resumed; false when cancelled or over.
    bool start(qint64 id, const QString& date);
    // Reports `served` (if any) and takes the next waiting recipient for
    // `owner`, in one commit. Nothing when none is left.
    std::optional<RecipientClaim> next(qint64 id, const QString& owner,
                                       const std::optional<RecipientResult>& served);
    // Reports `served` and takes at most `count` waiting recipients for
    // `owner`, in position order, in one commit.
    QList<RecipientClaim> claim(qint64 id, const QString& owner, const QList<RecipientResult>& served,
                                int count);
    // Reports the last recipients served.
    void report(qint64 id, const RecipientResult& served);
    void report(qint64 id, const QList<RecipientResult>& served);
    // Recipients taken but never sent (the run stopped first) wait again.
    void release(qint64 id, const QList<int>& positions);
    // The end of a run, in one commit: reports `served`, lets `untried` wait
    // again and, with `close`, marks the batch done when no recipient waits.
    void endRun(qint64 id, const QList<RecipientResult>& served, const QList<int>& untried, bool close);
    // Marks the batch as done, whatever is left in it.
    void close(qint64 id);

    // A new immediate batch of the same text and options, with the account
    // `account`, to the recipients of `id` the gateway refused or that were
    // never tried; those never tried no longer wait in `id`. Never to an
    // accepted recipient or one in doubt. Nothing when there is none.
    std::optional<qint64> resend(qint64 id, const QDateTime& now, const QString& account);

    // Immediate batches that left and were never closed, oldest first, but
    // for those a runner is sending right now (in this or another process).
    QList<ScheduledBatch> interrupted();
    // Whether a runner that may still be at work holds recipients of the batch.
    bool beingSent(qint64 id);
    // The batch whose inviati row has this date, text and cellulare; the newest of alike ones.
    std::optional<qint64> findSent(const QString& data, const QString& testo, const QString& cellulare);
    std::vector<RecipientEntry> entries(qint64 id);
    // Marks the waiting recipients the opt-out register now honours as
    // excluded, before the credit for the rest is reckoned; how many.
    int excludeRegistered(qint64 id);
    // Marks the batch done when no recipient waits; true when it is done.
    bool closeIfServed(qint64 id);

    RecipientCounts counts(qint64 id);
    // The served recipients that were refused, as "number: code".
    QStringList refusals(qint64 id);
    // The served recipients whose exchange was cut after the request left, as "number: code".
    QStringList inDoubt(qint64 id);
    // The numbers taken by a runner that has not reported them: sent or not,
    // nobody knows, so they are never sent again.
    QStringList underWay(qint64 id);

    // The book's path in the data folder.
    const QString& path() const;

    // While a run goes, the store keeps the book's rollback file between its
    // commits (see CommitFiles); false, or the store's end, removes it.
    void keepRollbackFile(bool keep) { commitFiles_.keep(keep); }

    static QString batchTable() { return QStringLiteral("programmati"); }
    static QString recipientTable() { return QStringLiteral("programmati_destinatari"); }

private:
    bool hasTables();
    void addNewColumns();
    qint64 insert(const ScheduledBatch& batch, const QList<RecipientMessage>& recipients);
    // Appends the inviati row of the batch (its cognome, cellulare and text) and marks it as leaving.
    void leave(qint64 id, const ScheduledBatch& batch, const QString& date);
    void markServed(qint64 id, const RecipientResult& served);
    void markExcluded(qint64 id, int position);
    // The register's numbers, read again when the last reading is over a second old.
    const OptOutList& honoured();

    std::shared_ptr<Database> db_;
    // The steps of every block, prepared once per store.
    std::unique_ptr<Statement> markServed_;
    std::unique_ptr<Statement> take_;
    std::optional<std::pair<qint64, SplitMode>> split_; // the last batch claimed from and its splitting
    std::unique_ptr<OptOutRegister> optOut_;            // none for a book outside a data folder
    CommitFiles commitFiles_{*db_};
    OptOutList honoured_;
    QElapsedTimer honouredAge_;
};

} // namespace parlix
