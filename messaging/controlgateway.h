#pragma once

#include "sending/smsgateway.h"

namespace qwirl {
class QwirlControl;
}

namespace parlix {

// The SMS gateway through a gateway control that a form holds (the composer's QWIRL1): every call sets the
// control's properties or calls its methods. The control must outlive the gateway; the calls touch no
// window state, so they may come from the batch's worker thread.
class ControlGateway : public SmsGateway
{
public:
    explicit ControlGateway(qwirl::QwirlControl& control) : control_(control) {}

    void setLogin(const QString& login) override;
    void setPassword(const QString& password) override;
    void setQuality(int quality) override;
    void setFlash(bool flash) override;
    void setSender(const QString& sender) override;
    long send(const QString& number, const QString& text) override;
    long checkCredits() override;
    CreditFailure creditFailure() const override;

private:
    qwirl::QwirlControl& control_;
};

} // namespace parlix
