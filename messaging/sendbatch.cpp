#include "sendbatch.h"

#include "core/dialogs.h"
#include "core/numbers.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "messaging/creditquery.h"
#include "messaging/recipientnumber.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace parlix {

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
    context_.state.credito = double(credit);
    try {
        appendMessage(context_.state, context_.clock, request_.book, QStringLiteral("inviati"),
                      request_.record);
    } catch (const std::exception&) {
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
    work_ = QtConcurrent::run(&pool_, [this, gateway = gateway_, cancelled = cancelled_, report = report_,
                                       multiple = request_.multiple, messages = request_.messages(),
                                       total = total_] {
        for (int i = 1; i <= total; ++i) {
            if (cancelled->load())
                return;
            const auto& [number, text] = messages.at(i - 1);
            if (multiple)
                report->append({Entry::Kind::Serving, i, number, 0});
            const long result = gateway->send(internationalNumber(number), text);
            report->append({Entry::Kind::Sent, i, QString(), result});
        }
        report->append({Entry::Kind::Done, total, QString(), 0});
        QMetaObject::invokeMethod(this, &SendBatch::readReport, Qt::QueuedConnection);
    });
}

void SendBatch::readReport()
{
    for (const SendingReport::Entry& entry : report_->take()) {
        switch (entry.kind) {
        case SendingReport::Entry::Kind::Serving:
            emit serving(entry.number);
            break;
        case SendingReport::Entry::Kind::Sent:
            sent(entry.index, entry.result);
            break;
        case SendingReport::Entry::Kind::Done:
            complete();
            break;
        }
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

void SendBatch::complete()
{
    if (step_ != Step::Sending)
        return;
    reportTimer_.stop();
    const double remaining = double(credit_ - accepted_);
    const bool saved = textfile::writeLines(context_.state.folder.path(QStringLiteral("residui.txt")),
                                            {numbers::format(remaining)});
    context_.state.credito = remaining;
    emit creditChanged(remaining);
    emit statusChanged(QStringLiteral("Invio Completato"));
    setBusyCursor(false);
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
