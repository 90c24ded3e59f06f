#include "messaging/smsgateway.h"

#include <qwirl/control.h>

namespace parlix {

std::unique_ptr<qwirl::Control> SmsGateway::takeControl()
{
    return nullptr;
}

} // namespace parlix
