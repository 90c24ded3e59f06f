#include "qwirlgateway.h"

#include "sending/proxyauthenticator.h"

#include <qwirl/control.h>
#include <qwirl/hosts.h>

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

CreditFailure QwirlGateway::creditFailure() const
{
    return creditFailureOf(control_ ? control_->LastCreditFailure() : qwirl::Result::NoSession);
}

std::unique_ptr<qwirl::Control> QwirlGateway::takeControl()
{
    return std::move(control_);
}

void QwirlGateway::setProxyAddress(const QString& address)
{
    control_->setProxyAddress(address.toStdString());
}

void QwirlGateway::setProxyAuthenticator(std::shared_ptr<ProxyAuthenticator> authenticator)
{
    if (!authenticator) {
        control_->setProxyCredentialsCallback({});
        return;
    }
    control_->setProxyCredentialsCallback([authenticator = std::move(authenticator),
                                           cancelled = false](qwirl::ProxyCredentials& credentials) mutable {
        if (cancelled)
            return false;
        const std::optional<ProxyLogin> login = authenticator->next(
            {QString::fromStdString(credentials.login), QString::fromStdString(credentials.password)});
        if (!login) {
            cancelled = true;
            return false;
        }
        credentials.login = login->userName.toStdString();
        credentials.password = login->password.toStdString();
        return true;
    });
}

namespace {

std::shared_ptr<ProxyAuthenticator> authenticatorFor(ProxyPrompt prompt)
{
    if (!prompt)
        return nullptr;
    return std::make_shared<ProxyAuthenticator>(std::move(prompt));
}

} // namespace

QString gatewayHostProblem()
{
    // The hosts come from the configuration files and the environment alike: say what is wrong in either.
    const std::optional<std::string> problem = qwirl::Hosts::configurationProblem();
    if (!problem)
        return {};
    return QStringLiteral("%1: nessun SMS sarà inviato.").arg(QString::fromStdString(*problem));
}

GatewayFactory qwirlGatewayFactory(ProxyPrompt prompt)
{
    return [authenticator = authenticatorFor(std::move(prompt))] {
        auto gateway = std::make_unique<QwirlGateway>();
        gateway->setProxyAuthenticator(authenticator);
        return gateway;
    };
}

GatewayFactory qwirlGatewayFactory(const std::string& host, ProxyPrompt prompt)
{
    return [host, authenticator = authenticatorFor(std::move(prompt))] {
        auto gateway = std::make_unique<QwirlGateway>(host);
        gateway->setProxyAuthenticator(authenticator);
        return gateway;
    };
}

} // namespace parlix
