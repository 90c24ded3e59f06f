#include "creditquery.h"

#include "core/datafolder.h"
#include "core/ownthread.h"
#include "sending/account.h"

namespace parlix {

CreditAnswer queryCredit(const DataFolder& folder, const GatewayFactory& factory)
{
    const Account account = Account::load(folder);
    if (!account.usable())
        return {QString(), CreditFailure::NoAccount};
    const std::unique_ptr<SmsGateway> gateway = factory ? factory() : nullptr;
    if (!gateway)
        return {QString(), CreditFailure::Unreachable};
    gateway->setLogin(account.login);
    gateway->setPassword(account.password);
    gateway->setQuality(account.quality);
    const long credit = gateway->checkCredits();
    if (credit < 0)
        return {QString(), gateway->creditFailure()};
    return {QString::number(credit), CreditFailure::None};
}

QFuture<CreditAnswer> queryCreditAsync(const DataFolder& folder, GatewayFactory factory)
{
    return runOnOwnThread<CreditAnswer>(
        [folder, factory = std::move(factory)] { return queryCredit(folder, factory); });
}

QString creditFailureText(CreditFailure failure)
{
    switch (failure) {
    case CreditFailure::NoAccount:
        return missingAccountText();
    case CreditFailure::AccountRefused:
        return QStringLiteral("Il servizio SMS non riconosce login e password.\n"
                              "Verificarli dal menu \"Gestione Account\", voce \"Dati Account\".");
    case CreditFailure::BadAnswer:
        return QStringLiteral("Il servizio SMS non ha comunicato il credito.\nRitentare più tardi.");
    case CreditFailure::None:
    case CreditFailure::Unreachable:
        break;
    }
    return connectionFailedText();
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
