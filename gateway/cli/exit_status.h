#pragma once

namespace qwirl::cli {

// The exit statuses of qwirl, one per kind of outcome; the grammar table gives their meanings.
enum ExitStatus : int {
    Success = 0,          // accepted, or a credit read
    UsageError = 1,       // the command line is wrong
    BadConfiguration = 2, // the gateway's hosts or CA file are set wrongly: nothing was sent
    BadRequest = 3,  // a number, text, message id, quality, login or password missing or wrong: nothing sent
    Refused = 4,     // the gateway answered and refused (for credits: the account was refused)
    Unreachable = 5, // the gateway could not be reached (network, time-out, proxy, offline)
    CertificateFailure = 6, // the https gateway's certificate did not pass, or TLS failed: nothing was sent
};

// The exit status for a result of Send or SendNotify, or for Control::LastCreditFailure() after credits.
ExitStatus exitStatusFor(long result);

} // namespace qwirl::cli
