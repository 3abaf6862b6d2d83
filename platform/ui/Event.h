#pragma once

#include <cstdint>

// Event codes, handler levels, window responses and the key-code modifiers of the windowing
// runtime. Field events carry the number of their control; window events carry control 0.
namespace platform::ui {

namespace Event {
constexpr int Accepted = 0x01;     // a button pressed, an entry completed
constexpr int NewSelection = 0x02; // a new choice; also each change of an entry's text
constexpr int Drop = 0x03;         // a dragged row dropped on a control with a matching drop id
constexpr int Selected = 0x101;    // a control gets the focus
constexpr int AlertKey =
    0x102; // a key of a control's (or, with control 0, the window's) alert list
constexpr int CloseWindow = 0x201; // close request
constexpr int CloseDown = 0x202;   // the program ends
constexpr int OpenWindow = 0x203;
constexpr int Timer = 0x204;
constexpr int GainFocus = 0x205;
constexpr int Sized = 0x206;
} // namespace Event

// What a handler returns. Benign goes on with the runtime's own handling; Notify consumes the
// event (a close request answered with Notify leaves the window open); Fatal closes the window.
// Initialise returning anything but Benign keeps the window from opening.
namespace Level {
constexpr int Benign = 0;
constexpr int User = 1;
constexpr int Program = 2;
constexpr int Fatal = 3;
constexpr int Cancel = 4;
constexpr int Notify = 5;
} // namespace Level

namespace Response {
constexpr int Completed = 1;
constexpr int Cancelled = 2; // the close button's response
} // namespace Response

// Key codes: virtual key plus modifier bits; mouse presses use codes of their own.
namespace Key {
constexpr int Shift = 0x100;
constexpr int Ctrl = 0x200;
constexpr int Alt = 0x400;
constexpr int MouseLeft = 1;
constexpr int MouseLeftDouble = 5;
constexpr int Backspace = 0x08;
constexpr int Tab = 0x09;
constexpr int Enter = 0x0D;
constexpr int Esc = 0x1B;
constexpr int Space = 0x20;
constexpr int Insert = 0x2D;
constexpr int Delete = 0x2E;
constexpr int F1 = 0x70;
} // namespace Key

// The two globals through which a window procedure receives its request and leaves its
// response.
extern std::uint8_t PendingRequest;
extern std::uint8_t LastResponse;

} // namespace platform::ui
