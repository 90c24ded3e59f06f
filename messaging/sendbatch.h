#pragma once

#include "core/appcontext.h"
#include "messaging/sendingreport.h"
#include "sending/account.h"
#include "sending/batchrequest.h"
#include "sending/scheduledstore.h"
#include "sending/smsgateway.h"

#include <QFuture>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>

namespace parlix {

// One send batch, in three steps that each run once: the start (the account
// is read and the gateway asked for the credit), the credit check (the record
// goes into inviati), and the sending (every SMS, one after the other, then
// residui.txt and the final message). The gateway exchanges and the journal's
// commits run on a worker thread, one at a time; the messages and the window's
// state stay on the thread that owns the batch, which stays responsive.
class SendBatch : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        Abandoned, // nothing sent, nothing recorded; the composer stays as it was, for another try
        Stopped,   // not enough credit; the composer stays open, only its send button disabled
        Completed, // every SMS was handed to the gateway; the composer closes
    };
    Q_ENUM(Outcome)

    SendBatch(AppContext context, GatewayFactory factory, QObject* parent = nullptr);
    // Waits for the exchange under way, if any; no further SMS is sent.
    ~SendBatch() override;

    // Starts the batch; only the first call counts.
    void start(BatchRequest request);
    bool running() const { return step_ != Step::Idle && step_ != Step::Finished; }

signals:
    void statusChanged(const QString& text);
    // Multiple mode: the number about to be served.
    void serving(const QString& number);
    void progressChanged(int sent, int total);
    // The record went into inviati: the archive list should refill.
    void archiveChanged();
    // The remaining credit, already in credito and residui.txt: as the
    // gateway answers, and once more at the end.
    void creditChanged(double remaining);
    void finished(SendBatch::Outcome outcome);

private:
    static constexpr int ReportInterval = 16; // ms

    enum class Step { Idle, AskingCredit, CheckingCredit, Sending, Finished };

    void abandonWithoutAccount();
    void checkCredit(long credit, CreditFailure failure);
    // On the owner's thread once the worker has stored the batch; no journal when it could not.
    void recorded(std::shared_ptr<ScheduledStore> journal, qint64 id);
    void sendAll();
    void readReport();
    void sent(int index, long result);
    // The run's end as the worker told it, and whether it could write residui.txt.
    void complete(int end, bool saved);
    // Writes the remaining credit to residui.txt and credito; false when the file cannot be written.
    bool saveCredit();
    void finish(Outcome outcome);
    void setBusyCursor(bool busy);

    AppContext context_;
    GatewayFactory factory_;
    BatchRequest request_;
    Account account_;
    std::shared_ptr<SmsGateway> gateway_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    std::shared_ptr<SendingReport> report_;
    // The batch's journal in its book: opened and written by the worker
    // until it ends, then read here.
    std::shared_ptr<ScheduledStore> journal_;
    qint64 journalBatch_ = 0;
    QTimer reportTimer_;
    // The batch's own worker: one exchange at a time, and a thread that ends
    // with the batch (the TLS library keeps per-thread state that must not
    // outlive the program's own clean-up, as an idle global pool thread would).
    QThreadPool pool_;
    QFuture<void> work_;
    Step step_ = Step::Idle;
    bool busyCursor_ = false;
    long credit_ = 0;
    int total_ = 0;
    int accepted_ = 0;
    bool failed_ = false;
};

} // namespace parlix
