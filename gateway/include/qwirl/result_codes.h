#pragma once

namespace qwirl {

// Results of Send and SendNotify (0 is success). Any other value is the WinInet-style number of a failed
// network exchange, always above 12000 (see WinInetError).
namespace Result {
inline constexpr long Accepted = 0;
inline constexpr long Refused = 1;
inline constexpr long RefusedKo1 = 2;
inline constexpr long BadNumber = 3;
inline constexpr long NoText = 4;
inline constexpr long NoLogin = 5;
inline constexpr long NoPassword = 6;
inline constexpr long NoSession = 7;
inline constexpr long NoConnection = 8;
inline constexpr long ProxyAuthCancelled = 9;
inline constexpr long RefusedKo2 = 10;
inline constexpr long RefusedKo3 = 11;
inline constexpr long RefusedKo9 = 12;
inline constexpr long Offline = 13;
inline constexpr long BadMessageId = 14;
inline constexpr long BadQuality = 15;

// CheckCredits' only failure value.
inline constexpr long NoCredit = -1;
} // namespace Result

// The WinInet error numbers that network failures are reported as.
namespace WinInetError {
inline constexpr int Timeout = 12002;
inline constexpr int InternalError = 12004;
inline constexpr int InvalidUrl = 12005;
inline constexpr int NameNotResolved = 12007;
inline constexpr int CannotConnect = 12029;
inline constexpr int ConnectionAborted = 12030;
inline constexpr int ConnectionReset = 12031;
inline constexpr int InvalidServerResponse = 12152;

// Failures of a https exchange, where the gateway's identity could not be proved. None of them falls back
// to plain HTTP.
inline constexpr int CertificateDateInvalid = 12037; // expired or not yet valid
inline constexpr int CertificateNameInvalid = 12038; // issued for another host name
inline constexpr int UnknownAuthority = 12045;       // not signed by a trusted certificate authority
inline constexpr int CertificateErrors = 12055;      // any other certificate problem, an unusable CA file too
inline constexpr int SecureChannelError = 12157;     // the TLS handshake failed (no TLS server there, say)

inline constexpr bool isCertificateFailure(long code)
{
    return code == CertificateDateInvalid || code == CertificateNameInvalid || code == UnknownAuthority ||
           code == CertificateErrors || code == SecureChannelError;
}
} // namespace WinInetError

} // namespace qwirl
