#include "fuzz/support/RawResponseServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {
namespace {

[[noreturn]] void fatal(const char* what)
{
    std::perror(what);
    std::abort();
}

void setReceiveTimeout(int socket, int seconds)
{
    timeval timeout{};
    timeout.tv_sec = seconds;
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
}

} // namespace

RawResponseServer::RawResponseServer()
{
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    if (m_listener < 0)
        fatal("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        fatal("bind");
    if (listen(m_listener, 16) != 0)
        fatal("listen");
    socklen_t length = sizeof address;
    if (getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        fatal("getsockname");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

RawResponseServer::~RawResponseServer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    shutdown(m_listener, SHUT_RDWR); // wakes the accept
    m_thread.join();
    close(m_listener);
}

void RawResponseServer::setResponse(std::string bytes)
{
    std::lock_guard lock(m_mutex);
    m_response = std::move(bytes);
}

void RawResponseServer::serve()
{
    for (;;) {
        const int connection = accept(m_listener, nullptr, nullptr);
        if (connection < 0) {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
            continue;
        }
        answer(connection);
        close(connection);
    }
}

void RawResponseServer::answer(int connection)
{
    setReceiveTimeout(connection, 5);
    // The request: up to the blank line that ends its headers (the client sends no body).
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    std::string response;
    {
        std::lock_guard lock(m_mutex);
        response = m_response;
    }
    std::size_t sent = 0;
    while (sent < response.size()) {
        const ssize_t n =
            send(connection, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += static_cast<std::size_t>(n);
    }
    // The end of the response is the end of the connection; the client closes its side once it
    // has read what it wants.
    shutdown(connection, SHUT_WR);
    while (recv(connection, buffer, sizeof buffer, 0) > 0) {
    }
}

} // namespace fuzzsupport
