#pragma once

#include <cstdint>

// Properties of windows (control 0) and controls, read and written as Windows-1251 text.
// Positions and sizes are in dialog units; colours 0x00BBGGRR; flags "1" or "0".
namespace platform::ui {

enum class Property {
    Text = 1, // a control's text; the title of the window (control 0)
    FontName,
    FontSize,
    FontColour,
    FontWeight,
    X, // position and size one by one; writing "" leaves the value unchanged
    Y,
    Width,
    Height,
    Timer,  // window: hundredths of a second; 0 stops the timer
    Active, // window: 1 brings it to the front
    Cursor, // "hand", "wait" or "" (the normal arrow)
    Tooltip,
    Format, // a list's column layout as text
    IconList,
    LineWidth,
    Progress,        // a progress control's value
    Type,            // the control's type code (read only)
    Drop,            // a list's drop-down height; 0: no drop-down
    WindowProcedure, // the control's message procedure (see WindowProcedure)
    ClientWidth,     // frame: the size of its client area (read only)
    ClientHeight,
    Hidden,
    Disabled,
    Checked, // check box: "1" when ticked; option group: the chosen radio's value
    Background,
    NaturalWidth, // image: the picture's natural size (read only; 0 without a picture)
    NaturalHeight,
    Resizable, // window: "1" lets the user change its size, "0" holds it at the present one
};

// Type codes of the control kinds.
namespace TypeCode {
constexpr int String = 1;
constexpr int Image = 2;
constexpr int Region = 3;
constexpr int Line = 4;
constexpr int Box = 5;
constexpr int Prompt = 7;
constexpr int Entry = 8;
constexpr int Button = 9;
constexpr int Option = 10;
constexpr int Radio = 11;
constexpr int Check = 12;
constexpr int Group = 13;
constexpr int List = 14;
constexpr int Combo = 15;
constexpr int Spin = 16;
constexpr int Text = 17;
constexpr int Sheet = 18;
constexpr int Tab = 19;
constexpr int Progress = 24;
constexpr int Item = 25;
constexpr int Menu = 26;
constexpr int ToolButton = 27;
constexpr int Ole = 32;
constexpr int DropList = 33;
constexpr int DropCombo = 34;
} // namespace TypeCode

// A control's message procedure: the runtime passes key presses (message 0x100, or 0x104 while
// Alt is held; wParam the virtual key) and requests to change the keyboard layout (0x50) through
// it, so a procedure set by the program sees them before the control. handle identifies the
// control; the procedure of a control that has none of its own is defaultWindowProcedure, which
// takes a layout-change request (returns 1: the layout changes) and otherwise does nothing and
// returns 0. A procedure that returns 0 for 0x50 without passing it on refuses the change.
using WindowProcedure = std::intptr_t (*)(void* handle, unsigned message, std::uintptr_t wParam,
                                          std::intptr_t lParam);
std::intptr_t defaultWindowProcedure(void* handle, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam);

namespace Message {
constexpr unsigned KeyDown = 0x100;
constexpr unsigned SysKeyDown = 0x104; // a key pressed while Alt is held, or Alt itself
constexpr unsigned InputLanguageChangeRequest = 0x50;
} // namespace Message

} // namespace platform::ui
