#pragma once

#include <cstdint>

class QKeyEvent;

// The message a key press sends through its control's procedure, as the guarded controls of
// the program expect it: KeyDown, or SysKeyDown while Alt is held (so Alt+Shift is no key press
// of the user's text); a modifier pressed alone sends its own virtual key (Shift 0x10, Ctrl
// 0x11, Alt 0x12); a key without a code of the runtime's sends 0xFF.
namespace platform::ui::keyboard {

struct KeyMessage
{
    unsigned message = 0;
    std::uintptr_t virtualKey = 0; // 0: the press sends nothing
};

KeyMessage keyMessageOf(const QKeyEvent& event);

} // namespace platform::ui::keyboard
