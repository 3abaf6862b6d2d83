#pragma once

#include "platform/ui/ScreenReach.h"

#include <QRect>

#include <set>
#include <string>
#include <utility>
#include <vector>

// The checks the layout audit is made of (LayoutAudit.h says what a person would find wrong).
namespace platform::ui {

class Control;
class Window;

// "\"Title\" ?LABEL (kind)"
std::string controlName(const Window& window, const Control& control);
// "x,y WxH"
std::string placeText(const QRect& rect);

// Why the control's own text (a caption, a static text, a tab's or a list column header's)
// does not show whole ("" when it does).
std::string textFault(const Control& control, const ScreenArea& area);

// A control the audit found on the screen: shown, with an area inside its window.
struct LaidControl
{
    const Control* control;
    QRect rect; // what a person sees of it, in the window's client area
};

// Two laid controls whose rectangles meet, unless one lies wholly inside the other's frame
// (a group's or option box's below its caption, a tab sheet's page). Pairs in `covered` (the
// first covered by the second) were reported already.
std::vector<std::string>
overlapFaults(const Window& window, const std::vector<LaidControl>& laid,
              const std::set<std::pair<const Control*, const Control*>>& covered);

} // namespace platform::ui
