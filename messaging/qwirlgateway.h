#pragma once

#include "messaging/smsgateway.h"

#include <memory>
#include <string>

namespace qwirl {
class Control;
}

namespace parlix {

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

private:
    std::unique_ptr<qwirl::Control> control_;
};

// Gateways on the deployment's hosts: what the program uses.
GatewayFactory qwirlGatewayFactory();
// Gateways on one "host:port".
GatewayFactory qwirlGatewayFactory(const std::string& host);

} // namespace parlix
