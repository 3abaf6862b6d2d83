#include "platform/ui/LayoutAudit.h"

#include "platform/ui/Control.h"
#include "platform/ui/ScreenReach.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <map>
#include <set>

namespace platform::ui {
namespace {

bool clickable(const Control& control)
{
    const std::string& kind = control.kind();
    return kind == "tab" || kind == "radio" || kind == "check";
}

// The state a click on the control leads to, as its state() says it: "current" for a tab,
// "chosen" for a radio, "checked" or "unchecked" for a check box ("" when a click changes
// nothing: a current tab, a chosen radio).
std::string afterClick(const Control& control)
{
    const std::string now = control.state();
    if (control.kind() == "check")
        return now == "checked" ? "unchecked" : "checked";
    return now.empty() ? (control.kind() == "tab" ? "current" : "chosen") : "";
}

// Lets the window answer what was done to it: its queued events and what they cause.
void settle(const Window& window)
{
    for (int i = 0; i < 200; ++i) {
        QCoreApplication::processEvents();
        if (i >= 4 && !window.hasPendingEvents() && !window.isDispatching())
            return;
    }
}

// A person's click at the control's place; false when a person could not click it there.
bool click(Window& window, const Control& control)
{
    if (control.isDisabled() || !window.isShown(control))
        return false;
    const ScreenReach reach = screenReach(control.screenArea());
    if (!reach.reachable() || !reach.topLevel)
        return false;
    UserInput::click(reach.topLevel, reach.centre);
    settle(window);
    return true;
}

} // namespace

std::vector<std::string> LayoutAudit::everyState(Window& window)
{
    std::vector<std::string> faults;
    std::set<std::string> seen;
    const auto audit = [&] {
        for (const auto& found : {controls(window), tabChain(window)})
            for (const std::string& fault : found)
                if (std::find(faults.begin(), faults.end(), fault) == faults.end())
                    faults.push_back(fault);
        for (const Control* control : window.controls())
            if (clickable(*control) && window.isShown(*control))
                seen.insert(std::to_string(control->number()) + " " + control->state());
    };

    std::map<int, std::string> start;
    for (const Control* control : window.controls())
        if (clickable(*control))
            start[control->number()] = control->state();
    settle(window);
    audit();
    // A click may show controls that the next round can click: go round until nothing new.
    for (bool moved = true; moved;) {
        moved = false;
        for (const Control* control : window.controls()) {
            if (!clickable(*control) || !window.isShown(*control) || control->isDisabled())
                continue;
            const std::string next = afterClick(*control);
            // Tried once: a click that changes nothing is not tried again.
            if (next.empty() || !seen.insert(std::to_string(control->number()) + " " + next).second)
                continue;
            if (!click(window, *control))
                continue;
            audit();
            moved = true;
        }
    }
    // Back as it was: check boxes first (a radio may hide them), then radios, then tabs; a
    // control that a later click shows again gets another round.
    for (int round = 0; round < 3; ++round)
        for (const char* kind : {"check", "radio", "tab"})
            for (const Control* control : window.controls()) {
                const auto was = start.find(control->number());
                if (control->kind() == kind && was != start.end() &&
                    control->state() != was->second &&
                    (control->kind() == "check" || was->second != ""))
                    click(window, *control);
            }
    return faults;
}

} // namespace platform::ui
