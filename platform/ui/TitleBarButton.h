#pragma once

#include "platform/ui/ScreenReach.h"

#include <optional>
#include <string_view>

class QMdiSubWindow;

namespace platform::ui {

// The buttons on the title bar of a child window of the frame.
enum class TitleBarButton {
    Minimize,
    Maximize,
    Restore,
    Close,
};

// "minimize", "maximize", "restore" or "close".
std::optional<TitleBarButton> titleBarButtonNamed(std::string_view name);

// Where the button is drawn on the child window's title bar (an empty area when the window
// shows no such button now).
ScreenArea titleBarButtonArea(QMdiSubWindow& window, TitleBarButton button);

} // namespace platform::ui
