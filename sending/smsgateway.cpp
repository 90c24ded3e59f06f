#include "sending/smsgateway.h"

#include <qwirl/control.h>

namespace parlix {

std::unique_ptr<qwirl::Control> SmsGateway::takeControl()
{
    return nullptr;
}

CreditFailure SmsGateway::creditFailure() const
{
    return CreditFailure::Unreachable;
}

CreditFailure creditFailureOf(long reason)
{
    using namespace qwirl::Result;
    switch (reason) {
    case Accepted:
        return CreditFailure::None;
    case NoLogin:
    case NoPassword:
        return CreditFailure::NoAccount;
    case RefusedKo1:
        return CreditFailure::AccountRefused;
    case NoSession:
    case NoConnection:
    case ProxyAuthCancelled:
    case Offline:
        return CreditFailure::Unreachable;
    default:
        return reason > 12000 ? CreditFailure::Unreachable : CreditFailure::BadAnswer;
    }
}

} // namespace parlix
