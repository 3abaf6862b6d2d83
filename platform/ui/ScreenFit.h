#pragma once

#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

namespace platform::ui {

// Shows a top-level window no larger than its screen's available area and wholly on it, the
// border the window system draws around it included. The border is known only once the window
// system has taken the window, so this waits for that (a short while at most) and then shrinks
// and moves the window where needed: the size read after it returns is the one on the screen.
void showOnScreen(QWidget& window);

// Where a person left a top-level window: its place and size when not maximised (its client
// area, as QWidget::normalGeometry gives it) and whether it was maximised.
struct ScreenPlacement
{
    QRect normal;
    bool maximized = false;
};

// Shows a frame as a multiple-document frame opens: maximised on its screen, or where the
// person left it, and then wholly on the screen. A frame left smaller than its client area
// needs to hold `clientRoom` grows where the screen has the room. `client` is the widget whose
// size is the frame's client area.
void showFrameOnScreen(QWidget& frame, const QWidget& client, QSize clientRoom,
                       const std::optional<ScreenPlacement>& left);

} // namespace platform::ui
