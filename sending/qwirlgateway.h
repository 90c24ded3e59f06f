#pragma once

#include "sending/proxylogin.h"
#include "sending/smsgateway.h"

#include <memory>
#include <string>

namespace qwirl {
class Control;
}

namespace parlix {

class ProxyAuthenticator;

// The SMS gateway through the qwirl control.
class QwirlGateway : public SmsGateway
{
public:
    // The gateway hosts of the deployment (compiled defaults, QWIRL_SEND_HOST).
    QwirlGateway();
    // Both operations on one "host:port", e.g. a local sandbox.
    explicit QwirlGateway(const std::string& host);
    ~QwirlGateway() override;

    void setLogin(const QString& login) override;
    void setPassword(const QString& password) override;
    void setQuality(int quality) override;
    void setFlash(bool flash) override;
    void setSender(const QString& sender) override;
    long send(const QString& number, const QString& text) override;
    long checkCredits() override;
    CreditFailure creditFailure() const override;
    std::unique_ptr<qwirl::Control> takeControl() override;

    // The proxy as "host:port"; empty (the default) leaves the choice to the
    // usual http_proxy / no_proxy environment.
    void setProxyAddress(const QString& address);
    // Answers a proxy that demands credentials. Without one, or once the user
    // has cancelled for this gateway, such an exchange fails as cancelled (9)
    // without asking again: one batch asks at most once in vain.
    void setProxyAuthenticator(std::shared_ptr<ProxyAuthenticator> authenticator);

private:
    std::unique_ptr<qwirl::Control> control_;
};

// What is wrong with the deployment's gateway hosts (gateway.conf, the
// environment variables QWIRL_SEND_HOST and QWIRL_NOTIFY_HOST), in words for
// the user; empty when nothing is. While it is not empty the gateways send
// nothing at all.
QString gatewayHostProblem();

// Gateways on the deployment's hosts: what the program uses. `prompt` is
// asked, on the user-interface thread, when a proxy demands credentials; the
// gateways of one factory share the answer.
GatewayFactory qwirlGatewayFactory(ProxyPrompt prompt = {});
// Gateways on one "host:port".
GatewayFactory qwirlGatewayFactory(const std::string& host, ProxyPrompt prompt = {});

} // namespace parlix
