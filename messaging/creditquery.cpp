#include "creditquery.h"

#include "app/core/datafolder.h"
#include "messaging/account.h"

#include <QPromise>
#include <QThread>

namespace parlix {

QString queryCredit(const DataFolder& folder, const GatewayFactory& factory)
{
    const Account account = Account::load(folder);
    if (!account.usable() || !factory)
        return {};
    const std::unique_ptr<SmsGateway> gateway = factory();
    if (!gateway)
        return {};
    gateway->setLogin(account.login);
    gateway->setPassword(account.password);
    gateway->setQuality(account.quality);
    const long credit = gateway->checkCredits();
    return credit < 0 ? QString() : QString::number(credit);
}

QFuture<QString> queryCreditAsync(const DataFolder& folder, GatewayFactory factory)
{
    // A thread of its own that ends with the query, never an idle pool thread
    // holding the TLS library's per-thread state until the program exits.
    auto promise = std::make_shared<QPromise<QString>>();
    QFuture<QString> future = promise->future();
    QThread* thread = QThread::create([promise, folder, factory = std::move(factory)] {
        promise->start();
        promise->addResult(queryCredit(folder, factory));
        promise->finish();
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return future;
}

QString connectionFailedText()
{
    return QStringLiteral("Connessione non Riuscita \nVerificare la Connessione ad Internet e ritentare");
}

QString missingAccountText()
{
    return QStringLiteral("Login e password del servizio SMS non sono impostati.\n"
                          "Inserirli dal menu \"Gestione Account\", voce \"Dati Account\".");
}

} // namespace parlix
