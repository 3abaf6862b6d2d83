#pragma once

#include <string>
#include <vector>

namespace platform::ui {

class Window;

// What a person at the screen would find wrong with an open window as it is shown now: a
// control they can see that has no area, lies (partly) outside its window, is covered by
// another widget at its centre, or whose text (a button's, check box's, radio's, static text's,
// tab's or list column header's) does not show whole; two controls they can see that overlap,
// or one that runs into the frame or caption of a group, option box or tab sheet (only what
// lies wholly inside a holder's frame may share its area); and an enabled entry, button or
// list that the Tab key never reaches. Each fault names the window, the control and what is
// wrong.
class LayoutAudit
{
public:
    static std::vector<std::string> controls(const Window& window);
    // Presses Tab as a person would (through the window system) round the whole chain.
    static std::vector<std::string> tabChain(const Window& window);
    // controls() and tabChain() in every state a person reaches by clicking a tab, a radio or a
    // check box: each tab of each sheet, each radio of each option group and each check box on
    // and off, one click at a time, including those that only a click before shows. The clicks
    // go through the window system, so the window procedure answers them as it would a
    // person's (so it is called from the event loop, not from a handler of the window);
    // afterwards the window is clicked back to the state it was in. Each fault once.
    static std::vector<std::string> everyState(Window& window);
};

} // namespace platform::ui
