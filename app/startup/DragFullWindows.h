#pragma once

#include <cstdint>

// The system setting that shows a window's contents while it is dragged is switched off for
// the run and switched on again at its end, when it was on at the start.
namespace app {

// The setting as read at start (1 = on).
extern int32_t DragFullWindowsSaved;

// Reads the setting into DragFullWindowsSaved; when it is on, switches it off in the user's
// profile (flags 3).
void SaveAndSwitchOffDragFullWindows();
// Switches it on again (flags 3) when it was on at the start.
void RestoreDragFullWindows();

} // namespace app
