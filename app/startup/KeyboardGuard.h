#pragma once

#include "platform/ui/Property.h"

#include <array>
#include <cstdint>

namespace platform::ui {
class Window;
}

// The keyboard-layout guard keeps the user's layout (Russian or Latin) when the focus moves:
// entries, buttons, check boxes, lists, combos, spins, texts, drop lists and drop combos refuse
// a request to change the layout unless a key went down in a guarded control since the last
// request let through, or since the focus last came to a guarded control or an OLE container.
namespace app {

// The version as getVersion() gives it: major >= 5 and, tested on its own, minor >= 1.
// So 6.0 does not qualify while 5.1, 5.2, 6.1 and 6.2 do.
bool KeyboardGuardQualifies(uint32_t version);

// Attaches the guard to every window opened from now on. Where the window system does not tell
// the program of layout changes (a Wayland session) it attaches nothing. Installing twice is
// installing once.
void InstallKeyboardGuard();
bool KeyboardGuardInstalled();
// Detaches it from windows opened later (the program never does; tests start afresh with it).
void RemoveKeyboardGuard();

// One flag for the whole process: 1 after a key press in a guarded control.
extern int32_t KeyDownSeen;
// By control type code minus 1: the procedure the first guarded control of that type had.
extern std::array<platform::ui::WindowProcedure, 34> PreviousWndProc;

// Guards one control of the window (0: the control of the current "selected" event) and clears
// KeyDownSeen when the control is of a guarded type or an OLE container. Returns 0.
int GuardControlKeyboardLayout(platform::ui::Window& window, int control);

// The guard procedure of a control type: notes key presses and refuses layout-change requests
// that no key press preceded; everything is passed on to the type's previous procedure.
template <int Type>
std::intptr_t KeyboardGuardWndProc(void* handle, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam);

} // namespace app
