#include "platform/system/WinInetProxy.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>
#include "platform/text/AsciiChars.h"

namespace platform::system {
namespace {

std::string lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(platform::text::asciiLower(c)); });
    return result;
}

std::vector<std::string_view> split(std::string_view text, std::string_view separators)
{
    std::vector<std::string_view> parts;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of(separators, at), text.size());
        if (end > at)
            parts.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// '*' matches any run of characters; no case.
bool globMatch(std::string_view pattern, std::string_view text)
{
    if (pattern.empty())
        return text.empty();
    if (pattern.front() == '*') {
        for (std::size_t skip = 0; skip <= text.size(); ++skip)
            if (globMatch(pattern.substr(1), text.substr(skip)))
                return true;
        return false;
    }
    return !text.empty() &&
           platform::text::asciiLower(pattern.front()) ==
               platform::text::asciiLower(text.front()) &&
           globMatch(pattern.substr(1), text.substr(1));
}

std::string_view withoutScheme(std::string_view entry)
{
    const std::size_t scheme = entry.find("://");
    return scheme == std::string_view::npos ? entry : entry.substr(scheme + 3);
}

// WinInet's bypass list: "<local>" (names without a dot) and host patterns with '*'.
bool bypassed(std::string_view bypassList, std::string_view host)
{
    for (std::string_view entry : split(bypassList, "; \t,")) {
        entry = withoutScheme(entry);
        if (entry == "<local>") {
            if (host.find('.') == std::string_view::npos)
                return true;
            continue;
        }
        if (const std::size_t colon = entry.rfind(':');
            colon != std::string_view::npos && entry.find(']') == std::string_view::npos)
            entry = entry.substr(0, colon);
        if (globMatch(entry, host))
            return true;
    }
    return false;
}

// The no_proxy convention: "*" for every host, otherwise names matched with their subdomains.
bool excludedByNoProxy(std::string_view noProxy, std::string_view host)
{
    const std::string name = lower(host);
    for (std::string_view entry : split(noProxy, ", \t")) {
        if (entry == "*")
            return true;
        if (entry.front() == '.')
            entry.remove_prefix(1);
        const std::string pattern = lower(entry);
        if (name == pattern || (name.size() > pattern.size() && name.ends_with(pattern) &&
                                name[name.size() - pattern.size() - 1] == '.'))
            return true;
    }
    return false;
}

// "host", "host:port" or "scheme://host:port" as a URL with a port (WinInet's default is 80).
std::string proxyUrl(std::string_view entry)
{
    std::string url(entry);
    if (url.find("://") == std::string::npos)
        url = "http://" + url;
    const std::size_t hostStart = url.find("://") + 3;
    std::string_view hostPart = std::string_view(url).substr(hostStart);
    hostPart = hostPart.substr(0, std::min(hostPart.find('/'), hostPart.size()));
    if (const std::size_t at = hostPart.rfind('@'); at != std::string_view::npos)
        hostPart = hostPart.substr(at + 1);
    const std::size_t bracket = hostPart.rfind(']');
    const std::size_t colon = hostPart.rfind(':');
    const bool hasPort =
        colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket);
    if (!hasPort) {
        const auto hostEnd =
            static_cast<std::size_t>(hostPart.data() - url.data()) + hostPart.size();
        url.insert(hostEnd, ":80");
    }
    return url;
}

// WinInet's proxy list: "host:port", or entries "http=host:port https=host:port".
std::string chooseFromList(std::string_view proxyList, bool secure)
{
    const std::string_view wanted = secure ? "https" : "http";
    std::string_view fallback;
    for (std::string_view entry : split(proxyList, "; \t")) {
        const std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            if (fallback.empty())
                fallback = entry;
        } else if (lower(entry.substr(0, equals)) == wanted) {
            return proxyUrl(entry.substr(equals + 1));
        }
    }
    return fallback.empty() ? std::string() : proxyUrl(fallback);
}

} // namespace

std::string proxyForRequest(DWORD accessType, std::string_view proxyList,
                            std::string_view bypassList, bool secure, std::string_view host)
{
    if (accessType == INTERNET_OPEN_TYPE_PROXY) {
        if (bypassed(bypassList, host))
            return {};
        return chooseFromList(proxyList, secure);
    }
    if (accessType != INTERNET_OPEN_TYPE_PRECONFIG &&
        accessType != INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY)
        return {};

    std::string noProxy = environment("no_proxy");
    if (noProxy.empty())
        noProxy = environment("NO_PROXY");
    if (excludedByNoProxy(noProxy, host))
        return {};
    // Only the lower-case http_proxy counts for plain HTTP (an upper-case one can be set by a
    // request header in CGI settings).
    std::string proxy = secure ? environment("https_proxy") : environment("http_proxy");
    if (proxy.empty() && secure)
        proxy = environment("HTTPS_PROXY");
    if (proxy.empty())
        proxy = environment("all_proxy");
    if (proxy.empty())
        proxy = environment("ALL_PROXY");
    return proxy.empty() ? std::string() : proxyUrl(proxy);
}

} // namespace platform::system
