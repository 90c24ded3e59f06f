#pragma once

#include <curl/curl.h>

namespace qwirl {

// The WinInet number of the same meaning as a libcurl failure; always above 12000. `verifyResult` is the
// certificate check's outcome as the TLS library gave it (CURLINFO_SSL_VERIFYRESULT, 0 when it passed).
int winInetErrorFor(CURLcode code, long verifyResult = 0);

} // namespace qwirl
