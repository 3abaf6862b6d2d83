#pragma once

#include <string>

// The system parameters the program reads and changes, shaped like SystemParametersInfoA. Only
// the drag-full-windows setting (show a window's contents while it is dragged) is kept. The
// user's profile is a small settings file of this layer, named by the environment variable
// QUELB_SYSTEM_SETTINGS or else ~/.config/quelbarto/system.ini; a change made without the
// profile flag lasts until the process ends.
namespace platform::system {

namespace Spi {
constexpr unsigned GetDragFullWindows = 0x26;
constexpr unsigned SetDragFullWindows = 0x25;
} // namespace Spi

namespace Spif {
constexpr unsigned UpdateIniFile = 1; // write the change to the user's profile
constexpr unsigned SendChange = 2;    // tell other programs (nothing here listens)
} // namespace Spif

// Get: `value` points to an int32_t that receives 1 (on) or 0 (off); `param` is unused.
// Set: `param` is the new value (non-zero = on); `value` is unused.
// Returns false for another action, a null `value` on a get, or a profile that cannot be
// written (the setting is then unchanged).
bool systemParametersInfo(unsigned action, unsigned param, void* value, unsigned flags);

// The profile file in use (UTF-8 path).
std::string systemSettingsPath();

// Forgets a change made for this process only (tests start from the profile).
void resetSessionParameters();

} // namespace platform::system
