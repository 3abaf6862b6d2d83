#pragma once

#include <string>
#include <vector>

namespace platform::ui {

class Window;

// What a person at the screen would find wrong with an open window as it is shown now: a
// control they can see that has no area, lies (partly) outside its window, is covered by
// another widget at its centre, or whose text (a button's, check box's, radio's, static text's
// or tab's) does not fit its rectangle at its font; and an enabled entry, button or list that
// the Tab key never reaches. Each fault names the window, the control and what is wrong.
class LayoutAudit
{
public:
    static std::vector<std::string> controls(const Window& window);
    // Presses Tab as a person would (through the window system) round the whole chain.
    static std::vector<std::string> tabChain(const Window& window);
};

} // namespace platform::ui
