// Controls, properties and geometry of a Window.
#include "platform/ui/Window.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/CheckControl.h"
#include "platform/ui/Control.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/Event.h"
#include "platform/ui/MdiChildFrame.h"
#include "platform/ui/SheetControl.h"
#include "platform/ui/TabControl.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/WindowWidget.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include "platform/text/AsciiChars.h"

namespace platform::ui {
namespace {

bool sameLabel(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return platform::text::asciiUpper(x) ==
                      platform::text::asciiUpper(y);
           });
}

} // namespace

Control* Window::control(int number) const
{
    if (number > 0 && number <= static_cast<int>(m_controls.size()))
        return m_controls[static_cast<std::size_t>(number - 1)].get();
    if (number < 0 && -number <= static_cast<int>(m_menuItems.size()))
        return m_menuItems[static_cast<std::size_t>(-number - 1)].get();
    return nullptr;
}

Control* Window::control(std::string_view label) const
{
    return control(number(label));
}

int Window::number(std::string_view label) const
{
    for (const auto& c : m_controls)
        if (sameLabel(c->label(), label))
            return c->number();
    for (const auto& c : m_menuItems)
        if (sameLabel(c->label(), label))
            return c->number();
    return 0;
}

std::vector<Control*> Window::controls() const
{
    std::vector<Control*> result;
    for (const auto& c : m_controls)
        result.push_back(c.get());
    return result;
}

std::vector<Control*> Window::menuItems() const
{
    std::vector<Control*> result;
    for (const auto& c : m_menuItems)
        result.push_back(c.get());
    return result;
}

int Window::nextField(int after) const
{
    const int next = std::max(after, 0) + 1;
    return next <= static_cast<int>(m_controls.size()) ? next : 0;
}

int Window::accepted() const
{
    return m_event == Event::Accepted ? m_field : 0;
}

int Window::selected() const
{
    return m_event == Event::Selected ? m_field : 0;
}

void Window::select(int number)
{
    Control* target = control(number);
    if (!target || !target->widget())
        return;
    target->widget()->setFocus(Qt::OtherFocusReason);
    // An entry given the focus by the program has its text selected, so that typing replaces
    // a preset value instead of adding to it.
    if (auto* line = qobject_cast<QLineEdit*>(target->widget()))
        line->selectAll();
    if (m_focus != number) {
        m_focus = number;
        raise(Event::Selected, number);
    }
}

void Window::enable(int number)
{
    if (Control* c = control(number))
        c->setDisabled(false);
}

void Window::disable(int number)
{
    if (Control* c = control(number))
        c->setDisabled(true);
}

void Window::hide(int number)
{
    if (Control* c = control(number))
        c->setHidden(true);
}

void Window::unhide(int number)
{
    if (Control* c = control(number))
        c->setHidden(false);
}

bool Window::isChecked(int number) const
{
    auto* check = dynamic_cast<CheckControl*>(control(number));
    return check && check->isChecked();
}

int Window::currentTab(int sheet) const
{
    auto* s = dynamic_cast<SheetControl*>(control(sheet));
    return s ? s->currentTab() : 0;
}

void Window::display(int number)
{
    if (number == 0) {
        refresh(true);
        return;
    }
    if (Control* c = control(number))
        c->refresh(true);
}

void Window::update(int number)
{
    if (number == 0) {
        for (const auto& c : m_controls)
            c->takeScreenValue();
        return;
    }
    if (Control* c = control(number))
        c->takeScreenValue();
}

void Window::refresh(bool force)
{
    for (const auto& c : m_controls)
        c->refresh(force);
}

bool Window::bindUse(std::string_view use, std::unique_ptr<VariableBinding> binding)
{
    for (const auto& c : m_controls)
        if (!c->definition().use.empty() && sameLabel(c->definition().use, use))
            return bindNumber(c->number(), std::move(binding));
    return false;
}

bool Window::bindNumber(int number, std::unique_ptr<VariableBinding> binding)
{
    Control* c = control(number);
    if (!c || number < 0)
        return false;
    c->bind(std::move(binding));
    if (m_open)
        c->refresh(true);
    return true;
}

bool Window::shownThroughParents(const Control& c) const
{
    for (int parent = c.parent(); parent != 0;) {
        const Control* holder = control(parent);
        if (!holder || holder->isHidden())
            return false;
        if (const auto* tab = dynamic_cast<const TabControl*>(holder))
            if (!tab->sheet() || !tab->sheet()->isCurrent(*tab))
                return false;
        parent = holder->parent();
    }
    return true;
}

bool Window::isShown(const Control& c) const
{
    return !c.isHidden() && shownThroughParents(c);
}

void Window::applyVisibility()
{
    for (const auto& c : m_controls)
        c->applyVisible(!c->isHidden() && shownThroughParents(*c));
    for (const auto& c : m_menuItems)
        c->applyVisible(!c->isHidden());
}

std::string Window::title() const
{
    return m_top ? text::fromQString(isFrame() || !m_content ? m_top->windowTitle()
                                                             : m_content->windowTitle())
                 : m_definition.title;
}

QWidget* Window::content() const
{
    return m_content ? static_cast<QWidget*>(m_content) : m_top.data();
}

QWidget* Window::topWidget() const
{
    return m_top;
}

QIcon Window::icon(std::string_view name) const
{
    if (name.empty())
        return {};
    const std::filesystem::path file = resolveNoCase(resourceFolder() / "icons", name);
    const QString fileName = QFile::decodeName(file.c_str());
    if (!QFileInfo::exists(fileName))
        return {};
    return QIcon(fileName);
}

int Window::controlPlacement(const Control& c, Property property) const
{
    const Placement& at = c.definition().at;
    const DialogUnits du = units();
    const QRect geometry = c.widget() ? c.widget()->geometry() : QRect();
    switch (property) {
    case Property::X:
        return at.x ? *at.x : du.fromPixelsX(geometry.x());
    case Property::Y:
        return at.y ? *at.y : du.fromPixelsY(geometry.y());
    case Property::Width:
        return at.width ? *at.width : du.fromPixelsX(geometry.width());
    case Property::Height:
        return at.height ? *at.height : du.fromPixelsY(geometry.height());
    default:
        return 0;
    }
}

void Window::setControlPlacement(Control& c, Property property, int value)
{
    Placement at;
    const int x = controlPlacement(c, Property::X);
    const int y = controlPlacement(c, Property::Y);
    const int width = controlPlacement(c, Property::Width);
    const int height = controlPlacement(c, Property::Height);
    at = {x, y, width, height};
    switch (property) {
    case Property::X:
        at.x = value;
        break;
    case Property::Y:
        at.y = value;
        break;
    case Property::Width:
        at.width = std::max(value, 0);
        break;
    case Property::Height:
        at.height = std::max(value, 0);
        break;
    default:
        break;
    }
    c.setPlacement(at);
    if (QWidget* w = c.widget()) {
        const DialogUnits du = units();
        w->setGeometry(du.toPixelsX(*at.x), du.toPixelsY(*at.y),
                       std::max(du.spanX(*at.x, *at.width), 1),
                       std::max(du.spanY(*at.y, *at.height), 1));
    }
}

std::string Window::property(int number, Property property) const
{
    if (number == 0)
        return windowProperty(property);
    const Control* c = control(number);
    return c ? c->property(property) : std::string();
}

int Window::propertyNumber(int number, Property property) const
{
    const std::string value = this->property(number, property);
    return static_cast<int>(parseNumber(value));
}

bool Window::setProperty(int number, Property property, std::string_view value)
{
    if (number == 0)
        return setWindowProperty(property, value);
    Control* c = control(number);
    return c && c->setProperty(property, value);
}

bool Window::setProperty(int number, Property property, long long value)
{
    return setProperty(number, property, std::string_view(std::to_string(value)));
}

std::string Window::windowProperty(Property property) const
{
    const DialogUnits du = units();
    QWidget* top = m_top;
    switch (property) {
    case Property::Text:
        return title();
    case Property::X:
        return std::to_string(top ? du.fromPixelsX(top->x()) : 0);
    case Property::Y:
        return std::to_string(top ? du.fromPixelsY(top->y()) : 0);
    case Property::Width:
        return std::to_string(top ? du.fromPixelsX(content()->width()) : 0);
    case Property::Height:
        return std::to_string(top ? du.fromPixelsY(content()->height()) : 0);
    case Property::ClientWidth:
    case Property::ClientHeight: {
        // A frame's client size is the room a child window's own client area has in it, in the
        // units of the child's Width and Height: what the area shows, less the child's border
        // and title bar.
        QSize room = content()->size();
        if (m_mdiArea)
            room = m_mdiArea->viewport()->size().shrunkBy(mdiChildFrame(*m_mdiArea));
        return std::to_string(property == Property::ClientWidth ? du.fromPixelsX(room.width())
                                                                : du.fromPixelsY(room.height()));
    }
    case Property::Timer:
        return std::to_string(m_timerInterval);
    case Property::Resizable:
        return m_resizable ? "1" : "0";
    case Property::Active:
        return top && top->isActiveWindow() ? "1" : "0";
    case Property::FontName:
        return m_definition.font.name;
    case Property::FontSize:
        return std::to_string(m_font.pointSize());
    case Property::Cursor:
        if (!top || !top->testAttribute(Qt::WA_SetCursor))
            return {};
        return top->cursor().shape() == Qt::WaitCursor           ? "wait"
               : top->cursor().shape() == Qt::PointingHandCursor ? "hand"
                                                                 : "";
    default:
        return {};
    }
}

bool Window::setWindowProperty(Property property, std::string_view value)
{
    QWidget* top = m_top;
    if (!top)
        return false;
    const DialogUnits du = units();
    const int n = static_cast<int>(parseNumber(value));
    switch (property) {
    case Property::Text:
        m_definition.title = std::string(value);
        (m_content ? static_cast<QWidget*>(m_content) : top)
            ->setWindowTitle(text::toQString(value));
        if (top != content())
            top->setWindowTitle(text::toQString(value));
        return true;
    case Property::X:
    case Property::Y:
        if (value.empty())
            return true;
        top->move(property == Property::X ? du.toPixelsX(n) : top->x(),
                  property == Property::Y ? du.toPixelsY(n) : top->y());
        return true;
    case Property::Width:
    case Property::Height: {
        if (value.empty())
            return true;
        // The size is the client area's; an MDI child's frame grows around it.
        QWidget* inner = content();
        const QSize frameExtra = top->size() - inner->size();
        const QSize wanted(property == Property::Width ? du.toPixelsX(n) : inner->width(),
                           property == Property::Height ? du.toPixelsY(n) : inner->height());
        const QSize outer = top != inner ? wanted + frameExtra : wanted;
        // A window the user may not resize still takes the size the program gives it.
        if (m_resizable)
            top->resize(outer);
        else
            top->setFixedSize(outer);
        return true;
    }
    case Property::Resizable:
        if (value.empty() || (n != 0) == m_resizable)
            return true;
        m_resizable = n != 0;
        if (m_resizable) {
            top->setMinimumSize(m_minimumWhileResizable);
            top->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        } else {
            m_minimumWhileResizable = top->minimumSize();
            top->setFixedSize(top->size());
        }
        // Nor may the user maximise a window held at its size.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(top)) {
            const bool shown = sub->isVisible();
            sub->setWindowFlag(Qt::WindowMaximizeButtonHint, m_resizable);
            if (shown)
                sub->show();
        }
        return true;
    case Property::Timer:
        // A timer the program starts while the window opens does the rest of the opening on
        // its first tick (a layout for the screen, say): till then the window is neither drawn
        // nor clicked, so what a person sees and clicks stays where it is.
        if (n > 0 && m_open && !m_started && !isFrame() && !m_firstTickOpens) {
            m_firstTickOpens = true;
            top->setUpdatesEnabled(false);
            top->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        setTimer(n);
        return true;
    case Property::Active:
        if (n == 1) {
            // A window started again comes forward as it was before it was minimised.
            if (top->isMinimized())
                top->setWindowState(top->windowState() & ~Qt::WindowMinimized);
            if (auto* sub = qobject_cast<QMdiSubWindow*>(top); sub && sub->mdiArea())
                sub->mdiArea()->setActiveSubWindow(sub);
            top->raise();
            top->activateWindow();
        }
        return true;
    case Property::Cursor:
        if (value == "wait")
            top->setCursor(Qt::WaitCursor);
        else if (value == "hand")
            top->setCursor(Qt::PointingHandCursor);
        else
            top->unsetCursor();
        return true;
    default:
        return false;
    }
}

} // namespace platform::ui
