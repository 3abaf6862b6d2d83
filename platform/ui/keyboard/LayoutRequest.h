#pragma once

// A request to change the keyboard layout goes to the program's control that has the keyboard
// focus, through that control's message procedure (message 0x50), which may refuse it.
namespace platform::ui::keyboard {

// True when the change may go ahead: the control's procedure let it through, or no control of
// the program has the focus (the request is then none of the program's business).
bool offerLayoutChange();

} // namespace platform::ui::keyboard
