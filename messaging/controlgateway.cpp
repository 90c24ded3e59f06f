#include "messaging/controlgateway.h"

#include <qwirl-qt/qwirlcontrol.h>
#include <qwirl/control.h>

namespace parlix {

void ControlGateway::setLogin(const QString& login)
{
    control_.setLogin(login);
}

void ControlGateway::setPassword(const QString& password)
{
    control_.setPassword(password);
}

void ControlGateway::setQuality(int quality)
{
    control_.setQuality(static_cast<short>(quality));
}

void ControlGateway::setFlash(bool flash)
{
    control_.setFlash(flash);
}

void ControlGateway::setSender(const QString& sender)
{
    control_.setSender(sender);
}

// A text the caller gives as a null QString is sent as an empty one, as the other gateways do.
long ControlGateway::send(const QString& number, const QString& text)
{
    return control_.Send(number.isNull() ? QStringLiteral("") : number,
                         text.isNull() ? QStringLiteral("") : text);
}

long ControlGateway::checkCredits()
{
    return control_.CheckCredits();
}

CreditFailure ControlGateway::creditFailure() const
{
    return creditFailureOf(control_.control().LastCreditFailure());
}

} // namespace parlix
