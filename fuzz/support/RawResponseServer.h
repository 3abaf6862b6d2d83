#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// A loopback HTTP server that answers every request with the bytes it was given, exactly as
// they are (status line, headers and body, broken or not), then ends the connection. One
// connection at a time, on 127.0.0.1 and a port of its own.
namespace fuzzsupport {

class RawResponseServer
{
public:
    RawResponseServer();
    ~RawResponseServer();
    RawResponseServer(const RawResponseServer&) = delete;
    RawResponseServer& operator=(const RawResponseServer&) = delete;

    uint16_t port() const { return m_port; }
    // What the connections from now on are answered with.
    void setResponse(std::string bytes);

private:
    void serve();
    void answer(int connection);

    int m_listener = -1;
    uint16_t m_port = 0;
    std::mutex m_mutex;
    std::string m_response;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace fuzzsupport
