#include "sendbatch.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/numbers.h"
#include "core/programstate.h"
#include "core/storechoice.h"
#include "core/textfile.h"
#include "sending/batchsender.h"
#include "sending/creditquery.h"
#include "sending/recipientnumber.h"
#include "sending/scheduledrunner.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <chrono>
#include <exception>

namespace parlix {

namespace {

// The batch as its journal keeps it, each recipient with the parts the composer made.
QList<RecipientMessage> recipientsOf(const BatchRequest& request)
{
    QList<RecipientMessage> recipients;
    // A message to one contact keeps its surname, as the inviati row does.
    const QString cognome = request.multiple ? QString() : request.record.cognome;
    for (const auto& [number, texts] : request.byRecipient())
        recipients.append({number, texts.join(QString()), texts, cognome});
    return recipients;
}

} // namespace

SendBatch::SendBatch(AppContext context, GatewayFactory factory, QObject* parent)
    : QObject(parent), context_(context), factory_(std::move(factory)),
      cancelled_(std::make_shared<std::atomic<bool>>(false)), report_(std::make_shared<SendingReport>())
{
    pool_.setMaxThreadCount(1);
    reportTimer_.setInterval(ReportInterval);
    connect(&reportTimer_, &QTimer::timeout, this, &SendBatch::readReport);
}

SendBatch::~SendBatch()
{
    cancelled_->store(true);
    work_.waitForFinished();
    pool_.waitForDone();
    // A batch stopped half-way still counts the SMS the gateway took.
    if (step_ == Step::Sending) {
        for (const SendingReport::Entry& entry : report_->take()) {
            if (entry.kind == SendingReport::Entry::Kind::Sent && entry.result == 0)
                ++accepted_;
        }
        saveCredit();
    }
    setBusyCursor(false);
}

void SendBatch::start(BatchRequest request)
{
    if (step_ != Step::Idle)
        return;
    request_ = std::move(request);
    step_ = Step::AskingCredit;
    setBusyCursor(true);
    emit statusChanged(QStringLiteral("Verifica Credito"));

    account_ = Account::load(context_.state.folder);
    if (account_.usable() && factory_)
        gateway_ = factory_();
    if (!gateway_) {
        QTimer::singleShot(0, this, &SendBatch::abandonWithoutAccount);
        return;
    }
    gateway_->setLogin(account_.login);
    gateway_->setPassword(account_.password);
    work_ = QtConcurrent::run(&pool_, [this, gateway = gateway_,
                                       residui = context_.state.folder.path(QStringLiteral("residui.txt"))] {
        const long credit = gateway->checkCredits();
        const CreditFailure failure = gateway->creditFailure();
        // The gateway's figure is the one to keep, whatever follows; written
        // here, so the window does not wait for the disk.
        if (credit >= 0)
            textfile::writeLines(residui, {numbers::format(double(credit))});
        QMetaObject::invokeMethod(
            this, [this, credit, failure] { checkCredit(credit, failure); }, Qt::QueuedConnection);
    });
}

void SendBatch::abandonWithoutAccount()
{
    if (step_ != Step::AskingCredit)
        return;
    step_ = Step::CheckingCredit;
    setBusyCursor(false);
    context_.dialogs.message(missingAccountText(), MessageIcon::Exclamation);
    emit statusChanged(QString());
    finish(Outcome::Abandoned);
}

void SendBatch::checkCredit(long credit, CreditFailure failure)
{
    if (step_ != Step::AskingCredit)
        return;
    step_ = Step::CheckingCredit;

    // A failed query says nothing about the credit: it is not "exhausted".
    if (credit < 0) {
        setBusyCursor(false);
        context_.dialogs.message(creditFailureText(failure), MessageIcon::Exclamation);
        emit statusChanged(QString());
        finish(Outcome::Abandoned);
        return;
    }
    // The gateway's figure is the one to show, whatever follows (residui.txt has it already).
    context_.state.credito = double(credit);
    emit creditChanged(context_.state.credito);
    if (credit == 0) {
        setBusyCursor(false);
        context_.dialogs.message(QStringLiteral("Credito Esaurito"), MessageIcon::Critical);
        emit statusChanged(QString());
        finish(Outcome::Abandoned);
        return;
    }
    total_ = request_.smsCount();
    if (credit < total_) {
        setBusyCursor(false);
        context_.dialogs.message(QStringLiteral("Credito insufficiente"), MessageIcon::Critical);
        finish(Outcome::Stopped);
        return;
    }

    credit_ = credit;
    ScheduledBatch batch;
    batch.due = context_.clock.now();
    batch.text = request_.record.testo;
    batch.flash = request_.flash;
    batch.sender = request_.sender;
    batch.cognome = request_.record.cognome;
    batch.cellulare = request_.record.cellulare;
    batch.immediate = true;
    batch.account = account_.login;
    // The batch, its inviati row and its leaving go into the journal in one
    // commit on the worker, with a store of its own, so that the window never
    // waits for the disk.
    work_ = QtConcurrent::run(
        &pool_, [this, batch, recipients = recipientsOf(request_), date = messageDate(context_.clock.now()),
                 folder = context_.state.folder, book = request_.book, cancelled = cancelled_] {
            std::shared_ptr<ScheduledStore> journal;
            qint64 id = 0;
            try {
                if (!cancelled->load()) {
                    journal = std::make_shared<ScheduledStore>(*chooseStore(folder), folder.bookPath(book));
                    id = journal->addStarted(batch, recipients, date);
                }
            } catch (const std::exception&) {
                journal.reset();
            }
            QMetaObject::invokeMethod(
                this, [this, journal, id] { recorded(journal, id); }, Qt::QueuedConnection);
        });
}

void SendBatch::recorded(std::shared_ptr<ScheduledStore> journal, qint64 id)
{
    if (step_ != Step::CheckingCredit)
        return;
    if (!journal) {
        setBusyCursor(false);
        context_.dialogs.message(QStringLiteral("Invio Annullato"), MessageIcon::None);
        finish(Outcome::Abandoned);
        return;
    }
    journal_ = std::move(journal);
    journalBatch_ = id;
    emit archiveChanged();
    emit statusChanged(QStringLiteral("Disponibilità OK"));
    sendAll();
}

void SendBatch::sendAll()
{
    if (step_ != Step::CheckingCredit)
        return;
    step_ = Step::Sending;

    gateway_->setLogin(account_.login);
    gateway_->setPassword(account_.password);
    gateway_->setQuality(account_.quality);
    gateway_->setFlash(request_.flash);
    gateway_->setSender(request_.sender);

    // The window follows the sending at the pace of the screen.
    reportTimer_.start();
    using Entry = SendingReport::Entry;
    work_ = QtConcurrent::run(&pool_, [this, gateway = gateway_, cancelled = cancelled_, report = report_,
                                       journal = journal_, batch = journalBatch_,
                                       multiple = request_.multiple,
                                       residui = context_.state.folder.path(QStringLiteral("residui.txt")),
                                       credit = credit_] {
        BatchSender sender(*journal, *gateway, batch);
        sender.setStopFlag(cancelled.get());
        sender.setCreditFile(residui, credit);
        int index = 0;
        sender.onServing([&](const QString& number) {
            ++index;
            if (multiple)
                report->append({Entry::Kind::Serving, index, number, 0});
        });
        sender.onSent([&](long result) { report->append({Entry::Kind::Sent, index, QString(), result}); });
        sender.onCommitted([&](int accepted) {
            report->append({Entry::Kind::Credit, index, QString(), accepted});
        });
        const SendTally tally = sender.run(ScheduledRunner::ownerName());
        if (tally.end == SendTally::End::Stopped && cancelled->load())
            return; // the window is closing: nothing more to tell
        // The credit left goes to the disk here, so the window does not wait for it.
        const bool saved = textfile::writeLines(residui, {numbers::format(double(credit - tally.accepted))});
        report->append({Entry::Kind::Done, index, QString(), long(tally.end), saved});
        QMetaObject::invokeMethod(this, &SendBatch::readReport, Qt::QueuedConnection);
    });
}

void SendBatch::readReport()
{
    long shownCredit = -1; // the SMS accepted as residui.txt last said, when it changed
    for (const SendingReport::Entry& entry : report_->take()) {
        switch (entry.kind) {
        case SendingReport::Entry::Kind::Serving:
            emit serving(entry.number);
            break;
        case SendingReport::Entry::Kind::Sent:
            sent(entry.index, entry.result);
            break;
        case SendingReport::Entry::Kind::Credit:
            shownCredit = entry.result;
            break;
        case SendingReport::Entry::Kind::Done:
            complete(int(entry.result), entry.saved);
            return;
        }
    }
    // The label follows residui.txt, which the worker keeps answer by answer,
    // at the pace of the screen.
    if (step_ == Step::Sending && shownCredit >= 0) {
        context_.state.credito = double(credit_ - shownCredit);
        emit creditChanged(context_.state.credito);
    }
}

void SendBatch::sent(int index, long result)
{
    if (result == 0)
        ++accepted_;
    else
        failed_ = true;
    emit statusChanged(QStringLiteral("Inviati %1 di %2").arg(index).arg(total_));
    emit progressChanged(index, total_);
}

bool SendBatch::saveCredit()
{
    const double remaining = double(credit_ - accepted_);
    context_.state.credito = remaining;
    return textfile::writeLines(context_.state.folder.path(QStringLiteral("residui.txt")),
                                {numbers::format(remaining)});
}

void SendBatch::complete(int end, bool saved)
{
    if (step_ != Step::Sending)
        return;
    reportTimer_.stop();
    context_.state.credito = double(credit_ - accepted_);
    emit creditChanged(context_.state.credito);
    emit statusChanged(QStringLiteral("Invio Completato"));
    setBusyCursor(false);
    RunOutcome outcome;
    outcome.end = SendTally::End(end);
    QStringList inDoubt;
    try {
        outcome.left = journal_->counts(journalBatch_).waiting;
        inDoubt = journal_->inDoubt(journalBatch_);
    } catch (const std::exception&) {
        outcome.left = 0;
    }
    if (outcome.end == SendTally::End::StoreFailed) {
        failed_ = true;
        context_.dialogs.message(QStringLiteral("L'invio è stato interrotto: la rubrica \"%1\" non può più "
                                                "registrare l'esito dei messaggi.")
                                     .arg(request_.book),
                                 MessageIcon::Exclamation);
    } else if (outcome.end != SendTally::End::Finished) {
        failed_ = true;
        context_.dialogs.message(runEndText(outcome), MessageIcon::Exclamation);
    }
    if (!inDoubt.isEmpty()) {
        failed_ = true;
        context_.dialogs.message(inDoubtText(inDoubt), MessageIcon::Exclamation);
    }
    if (failed_)
        context_.dialogs.message(QStringLiteral("Alcuni messaggi non Inviati."), MessageIcon::None);
    else
        context_.dialogs.message(QStringLiteral("Messaggio/i  inviato correttamente"),
                                 MessageIcon::Information);
    if (!saved)
        context_.dialogs.message(QStringLiteral("Il credito residuo non può essere salvato nel file "
                                                "\"residui.txt\": al prossimo avvio verrà mostrato il "
                                                "credito precedente."),
                                 MessageIcon::Exclamation);
    finish(Outcome::Completed);
}

void SendBatch::finish(Outcome outcome)
{
    step_ = Step::Finished;
    emit finished(outcome);
}

void SendBatch::setBusyCursor(bool busy)
{
    if (busy == busyCursor_ || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    busyCursor_ = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

} // namespace parlix
