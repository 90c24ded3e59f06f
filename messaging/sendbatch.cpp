#include "sendbatch.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/faultpoint.h"
#include "core/numbers.h"
#include "core/programstate.h"
#include "core/storechoice.h"
#include "core/textfile.h"
#include "sending/creditquery.h"
#include "sending/recipientnumber.h"
#include "store/store.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <chrono>
#include <exception>

namespace parlix {

namespace {

// A batch commits its journal at least this often while the gateway answers
// faster, and after every recipient while it answers slower (as any gateway
// over the internet does); never more than maxBlock recipients at once.
constexpr std::chrono::milliseconds blockWindow{2};
constexpr int maxBlock = 16;

// A clock stopped at one moment.
class Instant : public Clock
{
public:
    explicit Instant(QDateTime when) : when_(std::move(when)) {}
    QDateTime now() const override { return when_; }

private:
    QDateTime when_;
};

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
    work_ = QtConcurrent::run(&pool_, [this, gateway = gateway_] {
        const long credit = gateway->checkCredits();
        const CreditFailure failure = gateway->creditFailure();
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
    // The gateway's figure is the one to show and keep, whatever follows.
    context_.state.credito = double(credit);
    textfile::writeLines(context_.state.folder.path(QStringLiteral("residui.txt")),
                         {numbers::format(context_.state.credito)});
    emit creditChanged(context_.state.credito);
    if (credit == 0) {
        setBusyCursor(false);
        context_.dialogs.message(QStringLiteral("Credito Esaurito"), MessageIcon::Critical);
        emit statusChanged(QString());
        finish(Outcome::Abandoned);
        return;
    }
    total_ = request_.smsCount();
    context_.state.numerosms = total_;
    if (credit < total_) {
        setBusyCursor(false);
        context_.dialogs.message(QStringLiteral("Credito insufficiente"), MessageIcon::Critical);
        finish(Outcome::Stopped);
        return;
    }

    credit_ = credit;
    try {
        // The journal first: a book it cannot be written to gets no record of a batch never sent.
        std::vector<BatchJournal::Recipient> recipients;
        for (const auto& recipient : request_.byRecipient())
            recipients.push_back({request_.multiple ? QString() : request_.record.cognome, recipient.first});
        // Both carry the same date, whatever second the clock turns meanwhile.
        const Instant now(context_.clock.now());
        // The journal is written from the sending thread: a store of its own.
        journal_ = std::make_shared<BatchJournal>(*chooseStore(context_.state.folder),
                                                  context_.state.folder.bookPath(request_.book));
        journalBatch_ = journal_->begin(messageDate(now.now()), request_.record.testo, recipients);
        try {
            appendMessage(context_.state, now, request_.book, QStringLiteral("inviati"), request_.record);
        } catch (const std::exception&) {
            journal_->finish(journalBatch_);
            throw;
        }
        try {
            journal_->link(journalBatch_, request_.record.cognome, request_.record.cellulare);
        } catch (const std::exception&) {
            // Untied, the batch is still found by its row's date and text.
        }
    } catch (const std::exception&) {
        journal_.reset();
        setBusyCursor(false);
        context_.dialogs.message(QStringLiteral("Invio Annullato"), MessageIcon::None);
        finish(Outcome::Abandoned);
        return;
    }
    emit archiveChanged();
    emit statusChanged(QStringLiteral("Disponibilità OK"));
    QTimer::singleShot(0, this, &SendBatch::sendAll);
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
    work_ = QtConcurrent::run(
        &pool_, [this, gateway = gateway_, cancelled = cancelled_, report = report_, journal = journal_,
                 batch = journalBatch_, multiple = request_.multiple, recipients = request_.byRecipient(),
                 residui = context_.state.folder.path(QStringLiteral("residui.txt")), credit = credit_] {
            // Recipients are marked in blocks before their first SMS, and their
            // answers are recorded in the commit that marks the next block, so
            // a batch cut short never offers again one the gateway may have
            // served. A block is one recipient unless the gateway answers
            // within a few milliseconds, as a gateway on this machine does;
            // residui.txt follows each commit, so a batch cut short leaves the
            // credit as of its last recorded answer.
            using Steady = std::chrono::steady_clock;
            int index = 0;
            long accepted = 0;
            long recorded = 0; // accepted as of the last commit
            const int count = int(recipients.size());
            int marked = 0;                          // recipients below it are marked or answered
            int r = 0;                               // the recipient being sent
            Steady::duration exchange = blockWindow; // the last recipient's; none yet
            std::vector<BatchJournal::Answer> answers;
            const auto commit = [&](int markTo) {
                journal->record(batch, answers, marked, markTo);
                answers.clear();
                marked = std::max(marked, markTo);
                if (accepted != recorded) {
                    // A failed write is told when the batch ends, which writes the file again.
                    const QString remaining = numbers::format(double(credit - accepted));
                    if (!textfile::rewriteFirstLine(residui, remaining))
                        textfile::writeLines(residui, {remaining});
                    recorded = accepted;
                    report->append({Entry::Kind::Credit, index, QString(), accepted});
                }
            };
            try {
                for (; r < count && !cancelled->load(); ++r) {
                    if (r == marked) {
                        const auto perRecipient =
                            std::max<Steady::duration>(exchange, std::chrono::microseconds(1));
                        const int block = std::clamp(int(blockWindow / perRecipient), 1, maxBlock);
                        commit(std::min(count, r + block));
                    }
                    faultpoint::reach("batch.sending");
                    const auto started = Steady::now();
                    const auto& [number, texts] = recipients.at(r);
                    long answer = 0;
                    for (int part = 0; part < int(texts.size()); ++part) {
                        if (part > 0 && cancelled->load())
                            break;
                        ++index;
                        if (multiple)
                            report->append({Entry::Kind::Serving, index, number, 0});
                        const long result = gateway->send(internationalNumber(number), texts.at(part));
                        report->append({Entry::Kind::Sent, index, QString(), result});
                        if (result == 0)
                            ++accepted;
                        if (answer == 0)
                            answer = result;
                    }
                    exchange = Steady::now() - started;
                    faultpoint::reach("batch.sent");
                    answers.push_back({r, answer});
                }
                commit(marked);
                if (cancelled->load()) {
                    journal->release(batch, r, marked);
                    return;
                }
                faultpoint::reach("batch.finish");
                journal->finish(batch);
                report->append({Entry::Kind::Done, index, QString(), 0});
            } catch (const std::exception&) {
                // The journal can no longer say who was served: no further SMS goes out.
                report->append({Entry::Kind::Done, index, QString(), 1});
            }
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
            complete(entry.result != 0);
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

void SendBatch::complete(bool journalFailed)
{
    if (step_ != Step::Sending)
        return;
    reportTimer_.stop();
    const bool saved = saveCredit();
    emit creditChanged(context_.state.credito);
    emit statusChanged(QStringLiteral("Invio Completato"));
    setBusyCursor(false);
    if (journalFailed) {
        failed_ = true;
        context_.dialogs.message(QStringLiteral("L'invio è stato interrotto: la rubrica \"%1\" non può più "
                                                "registrare l'esito dei messaggi.")
                                     .arg(request_.book),
                                 MessageIcon::Exclamation);
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
