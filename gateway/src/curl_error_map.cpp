#include "curl_error_map.h"

#include "qwirl/result_codes.h"

#include <openssl/x509_vfy.h>

namespace qwirl {

int winInetErrorFor(CURLcode code, long verifyResult)
{
    switch (code) {
    case CURLE_PEER_FAILED_VERIFICATION:
        switch (verifyResult) {
        // libcurl checks the host name itself once the chain has passed, and reports a mismatch as
        // "unspecified" (or as passed, in other versions).
        case X509_V_OK:
        case X509_V_ERR_UNSPECIFIED:
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH:
            return WinInetError::CertificateNameInvalid;
        case X509_V_ERR_CERT_HAS_EXPIRED:
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return WinInetError::CertificateDateInvalid;
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
            return WinInetError::UnknownAuthority;
        default:
            return WinInetError::CertificateErrors;
        }
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_CRL_BADFILE:
        return WinInetError::CertificateErrors;
    case CURLE_SSL_CONNECT_ERROR:
        return WinInetError::SecureChannelError;
    case CURLE_OPERATION_TIMEDOUT:
        return WinInetError::Timeout;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return WinInetError::NameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return WinInetError::CannotConnect;
    case CURLE_PARTIAL_FILE:
        return WinInetError::ConnectionAborted;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return WinInetError::ConnectionReset;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
        return WinInetError::InvalidServerResponse;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return WinInetError::InvalidUrl;
    default:
        return WinInetError::InternalError;
    }
}

} // namespace qwirl
