#pragma once

#include <httplib.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>

namespace nettest {

// An HTTP server on 127.0.0.1 at an ephemeral port, serving in its own thread:
//   /echo               the method, the request target, the Content-Type and the body, one a line
//   /status/<code>      that status with the body "status"
//   /bytes/<n>          n bytes with Content-Length, made as they are sent
//   /nolength           a body sent in chunks, without Content-Length
//   /empty              200 with an empty body
//   /cut                Content-Length 100000, then the connection is closed after 50000 bytes
//   /redirect           302 to /echo
//   /drip               "1;" every half second, without end
//   /silent             nothing at all until the server stops
//   /gzip               a short text, gzip-encoded
//   /encoded/<c>/<n>    testsupport::priceLines(3000) in coding c (gzip, deflate), cut to n
//                       bytes, which are announced as its length
class LoopbackServer
{
public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return m_port; }

    // Byte i of every generated body.
    static char patternByte(std::size_t i) { return static_cast<char>('a' + i % 23); }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
};

} // namespace nettest
