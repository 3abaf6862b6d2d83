#pragma once

#include <sys/types.h>

#include <string>

// An X server of the test's own (Xvfb) with the keyboard layouts it asks for, so that the X11
// tests need no display of the machine's.
namespace x11test {

class XServer
{
public:
    XServer() = default;
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Starts Xvfb on a free display, points DISPLAY at it and sets the layouts
    // ("us,ru"); false, with why(), when the tools are missing or the server did not start.
    bool start(const std::string& layouts);
    const std::string& why() const { return m_why; }

private:
    pid_t m_pid = 0;
    std::string m_why;
};

} // namespace x11test
