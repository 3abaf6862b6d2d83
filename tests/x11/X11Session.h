#pragma once

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

} // namespace x11test
