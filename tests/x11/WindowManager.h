#pragma once

#include <QProcess>

#include <string>

namespace x11test {

// Openbox managing the windows of one X display, as a desktop's window manager does, until it
// is destroyed.
class WindowManager
{
public:
    WindowManager() = default;
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // Starts it on the display (":n") and waits until it has taken the screen; false, with
    // why(), when it is not installed or did not take it.
    bool start(const std::string& display);
    const std::string& why() const { return m_why; }

private:
    QProcess m_process;
    std::string m_why;
};

} // namespace x11test
