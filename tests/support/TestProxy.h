#pragma once

#include <httplib.h>

#include <atomic>
#include <string>
#include <thread>

namespace testsupport {

// An HTTP proxy on 127.0.0.1 that asks for Basic proxy authentication: a request without the
// right Proxy-Authorization gets 407 with Proxy-Authenticate; one with it is forwarded to the
// origin named in its absolute URI.
class TestProxy
{
public:
    TestProxy(std::string user, std::string password);
    ~TestProxy();
    TestProxy(const TestProxy&) = delete;
    TestProxy& operator=(const TestProxy&) = delete;

    int port() const { return m_port; }
    int requests() const { return m_requests; }
    int forwarded() const { return m_forwarded; }

private:
    void handle(const httplib::Request& request, httplib::Response& response);

    std::string m_expected;
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::atomic<int> m_requests{0};
    std::atomic<int> m_forwarded{0};
};

} // namespace testsupport
