#include "curl_error_map.h"

#include "qwirl/result_codes.h"

namespace qwirl {

int winInetErrorFor(CURLcode code)
{
    switch (code) {
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
