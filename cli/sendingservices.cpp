#include "sendingservices.h"

#include "core/clock.h"
#include "sending/qwirlgateway.h"

namespace parlix::cli {

SendingServices defaultSendingServices()
{
    static const Clock systemClock;
    return {qwirlGatewayFactory(), systemClock};
}

} // namespace parlix::cli
