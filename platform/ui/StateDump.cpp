#include "platform/ui/StateDump.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/ScreenReach.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

#include <QMdiArea>
#include <QWidget>

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

std::string placed(const QRect& rect)
{
    return "at " + std::to_string(rect.x()) + "," + std::to_string(rect.y()) + " size " +
           std::to_string(rect.width()) + "x" + std::to_string(rect.height());
}

// The control's rectangle in its window's client area (none for menu items).
std::string placement(const Window& window, const Control& control)
{
    const ScreenArea area = control.screenArea();
    const QWidget* content = window.content();
    if (!area.widget || !content || (area.widget != content && !content->isAncestorOf(area.widget)))
        return {};
    return " " + placed(QRect(area.widget->mapTo(content, area.rect.topLeft()), area.rect.size()));
}

// A window's rectangle: the frame's on the screen, any other's in the frame's client area.
std::string windowPlacement(const Window& window)
{
    const QWidget* top = window.topWidget();
    if (!top)
        return {};
    if (window.isFrame() || !ThreadRegistry::frame() || !ThreadRegistry::frame()->mdiArea())
        return " " + placed(top->frameGeometry());
    const QWidget* client = ThreadRegistry::frame()->mdiArea()->viewport();
    const QPoint origin = client->mapFromGlobal(top->mapToGlobal(QPoint(0, 0)));
    const QRect frame = top->frameGeometry();
    const QPoint frameOrigin = origin - (top->geometry().topLeft() - frame.topLeft());
    return " " + placed(QRect(top->isWindow() ? frameOrigin : origin, frame.size()));
}

void dumpControl(std::string& out, const Window& window, const Control& control)
{
    out += "  " + std::to_string(control.number()) + " " + control.label() + " " + control.kind() +
           placement(window, control) + " " + quoted(control.shownText());
    const bool shown = window.isShown(control);
    if (!shown)
        out += " hidden";
    if (control.isDisabled())
        out += " disabled";
    if (window.focus() == control.number() && control.number() > 0)
        out += " focus";
    if (shown && control.screenArea().widget && control.screenArea().widget->isVisible() &&
        screenReach(control.screenArea()).coveredBy)
        out += " covered";
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
        out += windowPlacement(*window) + "\n";
        for (const Control* control : window->controls())
            dumpControl(out, *window, *control);
        for (const Control* control : window->menuItems())
            dumpControl(out, *window, *control);
    }
    return out;
}

} // namespace platform::ui
