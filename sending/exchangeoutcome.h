#pragma once

namespace parlix {

// What a failed exchange with the gateway says about the SMS, from the
// control's result code.
enum class ExchangeOutcome {
    Accepted,  // the gateway took the SMS
    Refused,   // the gateway answered and did not take it
    Unreached, // the request never left: the SMS surely did not arrive
    InDoubt,   // the request left but no whole answer came back: it may have arrived
};

ExchangeOutcome exchangeOutcome(long result);

} // namespace parlix
