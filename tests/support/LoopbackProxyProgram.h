#pragma once

#include <string>

#include <sys/types.h>

namespace testsupport {

// A real HTTP proxy program (tinyproxy) listening on 127.0.0.1 at a free port, started for a
// test and stopped when it ends; its configuration and log live in a folder of their own.
// running() is false, and why() says why, when the program is not installed or does not start.
class LoopbackProxyProgram
{
public:
    LoopbackProxyProgram();
    ~LoopbackProxyProgram();
    LoopbackProxyProgram(const LoopbackProxyProgram&) = delete;
    LoopbackProxyProgram& operator=(const LoopbackProxyProgram&) = delete;

    bool running() const { return m_pid > 0; }
    const std::string& why() const { return m_why; }
    int port() const { return m_port; }
    // What the proxy logged so far: a request it forwarded names its URL.
    std::string log() const;

private:
    void stop();

    std::string m_folder;
    std::string m_why;
    int m_port = 0;
    pid_t m_pid = -1;
};

} // namespace testsupport
