#include "platform/system/WinInetErrors.h"
#include "platform/system/WinInetProxy.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

using namespace platform::system;

namespace {

TEST(WinInetMappingTest, CurlFailuresBecomeWinInetCodes)
{
    EXPECT_EQ(winInetErrorOf(CURLE_OK, 0, false), 0u);
    EXPECT_EQ(winInetErrorOf(CURLE_COULDNT_RESOLVE_HOST, 0, false), 12007u);
    EXPECT_EQ(winInetErrorOf(CURLE_COULDNT_CONNECT, ECONNREFUSED, false), 12029u);
    EXPECT_EQ(winInetErrorOf(CURLE_COULDNT_CONNECT, ECONNREFUSED, true), 12165u);
    EXPECT_EQ(winInetErrorOf(CURLE_COULDNT_RESOLVE_PROXY, 0, true), 12165u);
    EXPECT_EQ(winInetErrorOf(CURLE_OPERATION_TIMEDOUT, 0, false), 12002u);
    EXPECT_EQ(winInetErrorOf(CURLE_RECV_ERROR, ECONNRESET, false), 12031u);
    EXPECT_EQ(winInetErrorOf(CURLE_RECV_ERROR, EPIPE, false), 12030u);
    EXPECT_EQ(winInetErrorOf(CURLE_PARTIAL_FILE, 0, false), 12030u);
    EXPECT_EQ(winInetErrorOf(CURLE_GOT_NOTHING, 0, false), 12152u);
    EXPECT_EQ(winInetErrorOf(CURLE_TOO_MANY_REDIRECTS, 0, false), 12156u);
    EXPECT_EQ(winInetErrorOf(CURLE_SSL_CONNECT_ERROR, 0, false), 12157u);
    EXPECT_EQ(winInetErrorOf(CURLE_URL_MALFORMAT, 0, false), 12005u);
    EXPECT_EQ(winInetErrorOf(CURLE_FUNCTION_NOT_FOUND, 0, false), 12004u);
}

TEST(WinInetMappingTest, ProxyListsAndBypassLists)
{
    const DWORD proxy = INTERNET_OPEN_TYPE_PROXY;
    EXPECT_EQ(proxyForRequest(proxy, "cache:3128", "", false, "example.com"), "http://cache:3128");
    EXPECT_EQ(proxyForRequest(proxy, "cache", "", false, "example.com"), "http://cache:80");
    EXPECT_EQ(proxyForRequest(proxy, "http=a:1 https=b:2", "", false, "example.com"), "http://a:1");
    EXPECT_EQ(proxyForRequest(proxy, "http=a:1;https=b:2", "", true, "example.com"), "http://b:2");
    EXPECT_EQ(proxyForRequest(proxy, "cache:3128", "<local>", false, "intranet"), "");
    EXPECT_EQ(proxyForRequest(proxy, "cache:3128", "<local>", false, "example.com"),
              "http://cache:3128");
    EXPECT_EQ(proxyForRequest(proxy, "cache:3128", "*.example.com;other", false, "www.Example.com"),
              "");
    EXPECT_EQ(proxyForRequest(proxy, "", "", false, "example.com"), "");
    EXPECT_EQ(proxyForRequest(INTERNET_OPEN_TYPE_DIRECT, "cache:3128", "", false, "example.com"),
              "");
}

TEST(WinInetMappingTest, PreconfiguredMeansTheEnvironment)
{
    ::setenv("http_proxy", "http://envproxy:8080", 1);
    ::setenv("no_proxy", "localhost,.internal.net", 1);
    EXPECT_EQ(proxyForRequest(INTERNET_OPEN_TYPE_PRECONFIG, "", "", false, "example.com"),
              "http://envproxy:8080");
    EXPECT_EQ(proxyForRequest(INTERNET_OPEN_TYPE_PRECONFIG, "", "", false, "a.internal.net"), "");
    EXPECT_EQ(proxyForRequest(INTERNET_OPEN_TYPE_PRECONFIG, "", "", false, "localhost"), "");
    EXPECT_EQ(proxyForRequest(INTERNET_OPEN_TYPE_DIRECT, "", "", false, "example.com"), "");
    ::unsetenv("http_proxy");
    ::unsetenv("no_proxy");
    EXPECT_EQ(proxyForRequest(INTERNET_OPEN_TYPE_PRECONFIG, "", "", false, "example.com"), "");
}

} // namespace
