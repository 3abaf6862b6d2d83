#include "platform/ui/LayoutAudit.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Window.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>

#include <algorithm>
#include <set>

namespace platform::ui {
namespace {

std::string nameOf(const Window& window, const Control& control)
{
    return "\"" + text::cp1251ToUtf8(window.title()) + "\" " + control.label() + " (" +
           control.kind() + ")";
}

std::string place(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

QString shownText(const QString& text)
{
    QString plain = text;
    plain.remove(QLatin1Char('&'));
    return plain;
}

// Why the control's own text does not fit its rectangle ("" when it does).
std::string textFault(const Control& control, const ScreenArea& area)
{
    QWidget* widget = area.widget;
    const QFontMetrics metrics = widget->fontMetrics();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        const QString text = shownText(button->text());
        if (text.trimmed().isEmpty())
            return {};
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        const bool box = control.kind() == "check" || control.kind() == "radio";
        QRect room = widget->style()->subElementRect(
            box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, widget);
        int needed = metrics.horizontalAdvance(text);
        if (!button->icon().isNull())
            needed += button->iconSize().width() + 4;
        if (room.width() < needed || room.height() + 2 < metrics.height())
            return "text \"" + text.toStdString() + "\" needs " + std::to_string(needed) + "x" +
                   std::to_string(metrics.height()) + " but has " + std::to_string(room.width()) +
                   "x" + std::to_string(room.height());
        return {};
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        const QString text = label->text();
        if (text.trimmed().isEmpty())
            return {};
        const QRect room = label->contentsRect();
        const int flags =
            static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, room.width(), 10000), flags, text.trimmed());
        // One line needs the height of its letters; more lines their whole line spacing.
        const bool oneLine = needed.height() < 2 * metrics.lineSpacing();
        const int height =
            oneLine ? metrics.tightBoundingRect(text.trimmed()).height() : needed.height();
        if (needed.width() > room.width() || height > room.height() + 2)
            return "text \"" + text.trimmed().toStdString() + "\" needs " +
                   std::to_string(needed.width()) + "x" + std::to_string(needed.height()) +
                   " but has " + std::to_string(room.width()) + "x" + std::to_string(room.height());
        return {};
    }
    if (auto* bar = qobject_cast<QTabBar*>(widget)) {
        for (int i = 0; i < bar->count(); ++i)
            if (bar->tabRect(i) == area.rect) {
                const QString text = shownText(bar->tabText(i));
                if (metrics.horizontalAdvance(text) > area.rect.width() ||
                    metrics.height() > area.rect.height())
                    return "tab text \"" + text.toStdString() + "\" is wider than its tab";
                if (!bar->rect().contains(area.rect))
                    return "tab lies past the end of its bar";
            }
    }
    return {};
}

bool holderOrLine(const Control& control)
{
    const std::string& kind = control.kind();
    return kind == "sheet" || kind == "group" || kind == "option" || kind == "line";
}

bool tabStop(const Control& control)
{
    const std::string& kind = control.kind();
    return kind == "entry" || kind == "button" || kind == "list" || kind == "droplist";
}

} // namespace

std::vector<std::string> LayoutAudit::controls(const Window& window)
{
    std::vector<std::string> faults;
    const QWidget* content = window.content();
    for (const Control* control : window.controls()) {
        if (!window.isShown(*control))
            continue;
        const ScreenArea area = control->screenArea();
        if (!area.widget)
            continue;
        const std::string name = nameOf(window, *control);
        if (area.rect.width() <= 0 || area.rect.height() <= 0) {
            faults.push_back(name + ": has no area (" + place(area.rect) + ")");
            continue;
        }
        const QRect inWindow(area.widget->mapTo(content, area.rect.topLeft()), area.rect.size());
        if (!content->rect().contains(inWindow)) {
            faults.push_back(name + ": at " + place(inWindow) + " lies outside its window (" +
                             place(content->rect()) + ")");
            continue;
        }
        // Within the window, whatever part of it the frame shows: what hits the centre must be
        // the control itself. Lines and holders are drawn, not clicked.
        if (!holderOrLine(*control)) {
            QWidget* hit = content->childAt(inWindow.center());
            if (hit != area.widget && !area.widget->isAncestorOf(hit)) {
                std::string fault = name + ": is covered";
                if (const Control* over = hit ? window.controlOfObject(hit) : nullptr)
                    fault += " by " + over->label();
                faults.push_back(fault);
                continue;
            }
        }
        const std::string text = textFault(*control, area);
        if (!text.empty())
            faults.push_back(name + ": " + text);
    }
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
            faults.push_back(nameOf(window, *control) +
                             ": the Tab key never reaches it (it goes to " + chain + ")");
    return faults;
}

} // namespace platform::ui
