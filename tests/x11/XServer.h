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

    // Starts Xvfb on a free display with a screen of the size ("1024x768") and the layouts (the
    // first one's keys carry the others as further groups) and sets the layouts with setxkbmap
    // as well; points this process's DISPLAY at it when `current`. False, with why(), when the
    // tools are missing or the server did not start.
    bool start(const std::vector<std::string>& layouts, const std::string& screen = "1024x768",
               bool current = true);
    const std::string& why() const { return m_why; }
    // ":n"
    const std::string& display() const { return m_display; }

private:
    // A copy of the system's keyboard descriptions (links) whose default layout has every
    // layout as a group: a server that does not take setxkbmap's keymap still starts with them.
    bool makeKeyboardFolder(const std::vector<std::string>& layouts);

    std::unique_ptr<QTemporaryDir> m_keyboards;
    pid_t m_pid = 0;
    std::string m_why;
    std::string m_display;
};

} // namespace x11test
