#include "qwirlgateway.h"

#include <qwirl/control.h>

namespace parlix {

QwirlGateway::QwirlGateway() : control_(std::make_unique<qwirl::Control>()) {}

QwirlGateway::QwirlGateway(const std::string& host)
    : control_(std::make_unique<qwirl::Control>(qwirl::Hosts::both(host)))
{}

QwirlGateway::~QwirlGateway() = default;

void QwirlGateway::setLogin(const QString& login)
{
    control_->setLogin(login.toStdString());
}

void QwirlGateway::setPassword(const QString& password)
{
    control_->setPassword(password.toStdString());
}

void QwirlGateway::setQuality(int quality)
{
    control_->setQuality(static_cast<short>(quality));
}

void QwirlGateway::setFlash(bool flash)
{
    control_->setFlash(flash);
}

void QwirlGateway::setSender(const QString& sender)
{
    control_->setSender(sender.toStdString());
}

long QwirlGateway::send(const QString& number, const QString& text)
{
    const std::string utf8Number = number.toStdString();
    const std::string utf8Text = text.toStdString();
    return control_->Send(std::string_view(utf8Number), std::string_view(utf8Text));
}

long QwirlGateway::checkCredits()
{
    return control_->CheckCredits();
}

GatewayFactory qwirlGatewayFactory()
{
    return [] { return std::make_unique<QwirlGateway>(); };
}

GatewayFactory qwirlGatewayFactory(const std::string& host)
{
    return [host] { return std::make_unique<QwirlGateway>(host); };
}

} // namespace parlix
