#pragma once

#include "platform/ui/ScreenReach.h"

namespace platform::ui {

// Scrolls the frame's client area as a person does, by clicks on the arrows of its scroll bars,
// until the area lies wholly in view or the bars go no further. True when it scrolled.
bool scrollIntoView(const ScreenArea& area);

} // namespace platform::ui
