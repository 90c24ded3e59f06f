#include "creditquery.h"

#include "core/datafolder.h"
#include "core/ownthread.h"
#include "messaging/account.h"

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
    return runOnOwnThread<QString>(
        [folder, factory = std::move(factory)] { return queryCredit(folder, factory); });
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
