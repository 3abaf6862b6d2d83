#pragma once

#include <QSize>

class QMdiArea;

namespace platform::ui {

// The client area a frame needs to show each of the program's windows (the definitions of
// kind "window", which open in the frame's client area) at its design size, with the border
// and title bar a child window takes in that area. Empty when there are no such definitions.
QSize designRoomOfWindows(const QMdiArea& area);

} // namespace platform::ui
