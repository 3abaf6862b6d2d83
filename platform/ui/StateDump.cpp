#include "platform/ui/StateDump.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

namespace platform::ui {
namespace {

std::string quoted(std::string_view cp1251)
{
    std::string result = "\"";
    for (char c : text::cp1251ToUtf8(cp1251)) {
        if (c == '"' || c == '\\')
            result += '\\';
        if (c == '\n') {
            result += "\\n";
            continue;
        }
        result += c;
    }
    return result + "\"";
}

void dumpControl(std::string& out, const Window& window, const Control& control)
{
    out += "  " + std::to_string(control.number()) + " " + control.label() + " " + control.kind() +
           " " + quoted(control.text());
    if (!window.isShown(control))
        out += " hidden";
    if (control.isDisabled())
        out += " disabled";
    if (window.focus() == control.number() && control.number() > 0)
        out += " focus";
    const std::string state = control.state();
    if (!state.empty())
        out += " " + state;
    out += "\n";
    int row = 0;
    for (const std::string& line : control.rows())
        out += "    row " + std::to_string(++row) + " " + quoted(line) + "\n";
}

} // namespace

std::string stateDump()
{
    std::string out;
    for (const Window* window : ThreadRegistry::openWindows()) {
        out += "window " + quoted(window->title()) + " " + window->definition().label + " thread " +
               std::to_string(window->thread());
        if (window->isModal())
            out += " modal";
        out += "\n";
        for (const Control* control : window->controls())
            dumpControl(out, *window, *control);
        for (const Control* control : window->menuItems())
            dumpControl(out, *window, *control);
    }
    return out;
}

} // namespace platform::ui
