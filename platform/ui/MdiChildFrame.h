#pragma once

#include <QMargins>

class QMdiArea;

namespace platform::ui {

// The border and title bar that a child window of the area draws around its client area.
QMargins mdiChildFrame(const QMdiArea& area);

} // namespace platform::ui
