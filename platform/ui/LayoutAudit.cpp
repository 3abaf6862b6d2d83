#include "platform/ui/LayoutAudit.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/LayoutFaults.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>
#include <QLabel>

#include <algorithm>
#include <set>

namespace platform::ui {
namespace {

bool holderOrLine(const Control& control)
{
    const std::string& kind = control.kind();
    return kind == "sheet" || kind == "group" || kind == "option" || kind == "line";
}

// What a person sees of a control: a static text's letters where it places them (its widget
// may be wider or taller than they are, and shows nothing there), any other control whole.
QRect seenRect(const QWidget* widget, const QRect& rect)
{
    const auto* label = qobject_cast<const QLabel*>(widget);
    if (!label || label->autoFillBackground())
        return rect;
    QString text = label->text();
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    if (text.trimmed().isEmpty())
        return {};
    const int flags =
        static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect letters = label->fontMetrics().boundingRect(label->contentsRect(), flags, text);
    return letters.translated(rect.topLeft()) & rect;
}

bool tabStop(const Control& control)
{
    const std::string& kind = control.kind();
    return kind == "entry" || kind == "button" || kind == "list" || kind == "droplist";
}

} // namespace

std::string controlName(const Window& window, const Control& control)
{
    return "\"" + text::cp1251ToUtf8(window.title()) + "\" " + control.label() + " (" +
           control.kind() + ")";
}

std::string placeText(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

std::vector<std::string> LayoutAudit::controls(const Window& window)
{
    std::vector<std::string> faults;
    std::vector<LaidControl> laid;
    std::set<std::pair<const Control*, const Control*>> covered;
    const QWidget* content = window.content();
    for (const Control* control : window.controls()) {
        if (!window.isShown(*control))
            continue;
        const ScreenArea area = control->screenArea();
        if (!area.widget)
            continue;
        const std::string name = controlName(window, *control);
        if (area.rect.width() <= 0 || area.rect.height() <= 0) {
            faults.push_back(name + ": has no area (" + placeText(area.rect) + ")");
            continue;
        }
        const QRect inWindow(area.widget->mapTo(content, area.rect.topLeft()), area.rect.size());
        if (!content->rect().contains(inWindow)) {
            faults.push_back(name + ": at " + placeText(inWindow) + " lies outside its window (" +
                             placeText(content->rect()) + ")");
            continue;
        }
        // A tab is a part of its sheet's bar, not a control of its own on the window.
        const QRect seen = seenRect(area.widget, inWindow);
        if (control->kind() != "tab" && !seen.isEmpty())
            laid.push_back({control, seen});
        // Within the window, whatever part of it the frame shows: what hits the centre must be
        // the control itself (a static text's letters' centre: it is read, not clicked).
        // Lines and holders are drawn, not clicked.
        if (!holderOrLine(*control)) {
            QWidget* hit = content->childAt(seen.isEmpty() ? inWindow.center() : seen.center());
            if (hit != area.widget && !area.widget->isAncestorOf(hit)) {
                std::string fault = name + ": is covered";
                if (const Control* over = hit ? window.controlOfObject(hit) : nullptr) {
                    fault += " by " + over->label();
                    covered.insert({control, over});
                }
                faults.push_back(fault);
                continue;
            }
        }
        const std::string text = textFault(*control, area);
        if (!text.empty())
            faults.push_back(name + ": " + text);
    }
    for (std::string& fault : overlapFaults(window, laid, covered))
        faults.push_back(std::move(fault));
    return faults;
}

std::vector<std::string> LayoutAudit::tabChain(const Window& window)
{
    std::vector<std::string> faults;
    QWidget* top = window.content() ? window.content()->window() : nullptr;
    if (!top)
        return faults;
    std::set<const Control*> expected;
    for (const Control* control : window.controls())
        if (tabStop(*control) && window.isShown(*control) && !control->isDisabled() &&
            control->widget() && control->widget()->isVisible())
            expected.insert(control);
    std::set<const Control*> reached;
    std::string chain;
    const auto note = [&] {
        QWidget* focused = top->focusWidget();
        const Control* control = focused ? window.controlOfObject(focused) : nullptr;
        if (control && reached.insert(control).second)
            chain += (chain.empty() ? "" : ", ") + control->label();
    };
    // Twice round the longest chain the window could have.
    const int presses = 2 * static_cast<int>(window.controls().size()) + 4;
    const auto allReached = [&] {
        return std::all_of(expected.begin(), expected.end(),
                           [&](const Control* control) { return reached.contains(control); });
    };
    for (int i = 0; i < presses && !allReached(); ++i) {
        note();
        UserInput::key(top, Qt::Key_Tab, Qt::NoModifier, QString());
        QCoreApplication::processEvents();
    }
    note();
    for (const Control* control : expected)
        if (!reached.contains(control))
            faults.push_back(controlName(window, *control) +
                             ": the Tab key never reaches it (it goes to " + chain + ")");
    return faults;
}

} // namespace platform::ui
