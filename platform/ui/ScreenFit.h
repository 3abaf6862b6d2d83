#pragma once

class QWidget;

namespace platform::ui {

// Shows a top-level window no larger than its screen's available area and wholly on it, the
// border the window system draws around it included. The border is known only once the window
// system has taken the window, so this waits for that (a short while at most) and then shrinks
// and moves the window where needed: the size read after it returns is the one on the screen.
void showOnScreen(QWidget& window);

} // namespace platform::ui
