#pragma once

#include "platform/system/WinInet.h"

#include <string>
#include <string_view>

// Which proxy a request goes through, decided here rather than inside libcurl so that the
// layer knows whether a failed connection was one to the proxy.
namespace platform::system {

// The proxy URL ("http://host:port") for a request to host, or empty for a direct one.
// accessType and the proxy and bypass lists are those given to InternetOpenA; PRECONFIG takes
// the proxy from the environment (http_proxy, https_proxy, all_proxy, no_proxy).
std::string proxyForRequest(DWORD accessType, std::string_view proxyList,
                            std::string_view bypassList, bool secure, std::string_view host);

} // namespace platform::system
