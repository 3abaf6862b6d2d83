#pragma once

#include <QtGlobal>

#include <string>

namespace x11test {

// Whether the tests run on their own X server, and why not when they do not.
inline bool& serverRunning()
{
    static bool running = false;
    return running;
}
inline std::string& skipReason()
{
    static std::string reason;
    return reason;
}

// The process was started by a test of its own on that test's X server (DISPLAY), to run the
// tests that need a screen of a given size and window manager.
inline bool screenChild()
{
    return qEnvironmentVariableIsSet("QUELB_SCREEN_CHILD");
}

} // namespace x11test
