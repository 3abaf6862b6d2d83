#pragma once

#include "platform/system/WinInet.h"

#include <curl/curl.h>

namespace platform::system {

// The WinInet error code of a failed libcurl transfer. osErrno is the system error of the
// failing socket call (CURLINFO_OS_ERRNO); viaProxy tells a connection to the proxy from one to
// the server.
DWORD winInetErrorOf(CURLcode code, long osErrno, bool viaProxy);

} // namespace platform::system
