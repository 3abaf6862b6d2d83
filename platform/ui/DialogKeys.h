#pragma once

namespace platform::ui {

class Control;
class Window;

// The keys every dialog answers when neither its controls nor its procedure take them: Esc does
// what the close box does, and Enter presses the dialog's one button (its default) wherever the
// focus is. True when the key was used.
bool takeDialogKey(Window& window, Control* focused, int code);

} // namespace platform::ui
