#pragma once

#include <cstdint>

// The keyboard-layout guard is installed only on systems whose version qualifies.
namespace app {

// The version as getVersion() gives it: major >= 5 and, tested on its own, minor >= 1.
// So 6.0 does not qualify while 5.1, 5.2, 6.1 and 6.2 do.
bool KeyboardGuardQualifies(uint32_t version);

// Installs the guard; it is filled in by the guard's own work, and does nothing until then.
void InstallKeyboardGuard();

} // namespace app
