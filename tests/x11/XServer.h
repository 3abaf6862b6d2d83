#pragma once

#include <QTemporaryDir>

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

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

    // Starts Xvfb on a free display with the layouts (the first one's keys carry the others as
    // further groups), points DISPLAY at it and sets the layouts with setxkbmap as well; false,
    // with why(), when the tools are missing or the server did not start.
    bool start(const std::vector<std::string>& layouts);
    const std::string& why() const { return m_why; }

private:
    // A copy of the system's keyboard descriptions (links) whose default layout has every
    // layout as a group: a server that does not take setxkbmap's keymap still starts with them.
    bool makeKeyboardFolder(const std::vector<std::string>& layouts);

    std::unique_ptr<QTemporaryDir> m_keyboards;
    pid_t m_pid = 0;
    std::string m_why;
};

} // namespace x11test
