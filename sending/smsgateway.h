#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace qwirl {
class Control;
}

namespace parlix {

// Why a credit query gave no credit.
enum class CreditFailure {
    None,           // the credit was read
    NoAccount,      // no login or password to ask with
    AccountRefused, // the gateway answered and refused the login or password
    BadAnswer,      // the gateway answered, but with no credit (an error page, another refusal)
    Unreachable,    // the gateway could not be reached
};

// The SMS gateway as the batch and the credit query use it: the properties of
// one account and the two exchanges. Calls block for the length of the HTTP
// exchange, so they are made off the user-interface thread; one instance is
// used by one thread at a time.
class SmsGateway
{
public:
    virtual ~SmsGateway() = default;

    virtual void setLogin(const QString& login) = 0;
    virtual void setPassword(const QString& password) = 0;
    virtual void setQuality(int quality) = 0;
    virtual void setFlash(bool flash) = 0;
    virtual void setSender(const QString& sender) = 0;

    // One SMS to `number` ("+" and digits): 0 when the gateway accepted it,
    // any other value is a failure.
    virtual long send(const QString& number, const QString& text) = 0;
    // The remaining credit of the account, or -1 when it cannot be had.
    virtual long checkCredits() = 0;
    // Why the last checkCredits() gave -1.
    virtual CreditFailure creditFailure() const;

    // The gateway control behind this gateway, set up as the factory set it up (hosts, proxy prompt), for
    // a form that holds the control itself; the gateway is not used after. Null when there is none.
    virtual std::unique_ptr<qwirl::Control> takeControl();
};

// What a failure number of the control's CheckCredits (Control::LastCreditFailure) means to the user.
CreditFailure creditFailureOf(long reason);

// Makes a fresh gateway for one batch or one credit query.
using GatewayFactory = std::function<std::unique_ptr<SmsGateway>()>;

} // namespace parlix
