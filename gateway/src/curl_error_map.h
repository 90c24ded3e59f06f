#pragma once

#include <curl/curl.h>

namespace qwirl {

// The WinInet number of the same meaning as a libcurl failure; always above 12000.
int winInetErrorFor(CURLcode code);

} // namespace qwirl
