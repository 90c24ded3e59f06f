#pragma once

#include "sending/smsgateway.h"

namespace parlix {
class Clock;
}

namespace parlix::cli {

// What the sending commands are given: the gateway (the deployment's hosts
// in parlix-cli, a sandbox in tests) and the clock.
struct SendingServices
{
    GatewayFactory factory;
    const Clock& clock;
};

// The gateway on the deployment's hosts and the system clock.
SendingServices defaultSendingServices();

} // namespace parlix::cli
