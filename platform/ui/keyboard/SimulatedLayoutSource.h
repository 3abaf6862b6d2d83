#pragma once

#include "platform/ui/keyboard/LayoutSource.h"

// A keyboard layout without a window system: the test plays the user (or the desktop) asking
// for another layout, and the request reaches the focused control as on a real session.
namespace platform::ui::keyboard {

class SimulatedLayoutSource : public LayoutSource
{
public:
    explicit SimulatedLayoutSource(int groups = 2);

    int group() const override { return m_group; }

    // Asks for the given layout; true when it changed (the focused control let it through).
    bool requestGroup(int group);
    // Asks for the next layout, as a layout-switch key combination does.
    bool requestNextGroup();

private:
    int m_groups;
    int m_group = 0;
};

} // namespace platform::ui::keyboard
