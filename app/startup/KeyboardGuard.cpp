#include "app/startup/KeyboardGuard.h"

namespace app {

bool KeyboardGuardQualifies(uint32_t version)
{
    const uint32_t major = version & 0xFF;
    const uint32_t minor = (version >> 8) & 0xFF;
    return major >= 5 && minor >= 1;
}

void InstallKeyboardGuard()
{
}

} // namespace app
