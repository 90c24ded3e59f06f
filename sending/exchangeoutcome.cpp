#include "exchangeoutcome.h"

#include <qwirl/result_codes.h>

namespace parlix {

ExchangeOutcome exchangeOutcome(long result)
{
    using namespace qwirl::Result;
    namespace E = qwirl::WinInetError;
    switch (result) {
    case Accepted:
        return ExchangeOutcome::Accepted;
    // No session, no connection, the proxy login given up, off line: the
    // control stopped before the request went out.
    case NoSession:
    case NoConnection:
    case ProxyAuthCancelled:
    case Offline:
    case E::NameNotResolved:
    case E::CannotConnect:
    case E::InvalidUrl:
        return ExchangeOutcome::Unreached;
    default:
        // A certificate or TLS failure ends the exchange before the request is written.
        if (E::isCertificateFailure(result))
            return ExchangeOutcome::Unreached;
        // Any other network failure (reset, aborted, time-out, a cut or
        // garbled answer, or one the control cannot name) may have come after
        // the gateway read the request.
        return result > 12000 ? ExchangeOutcome::InDoubt : ExchangeOutcome::Refused;
    }
}

} // namespace parlix
