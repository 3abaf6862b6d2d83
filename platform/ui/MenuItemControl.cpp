#include "platform/ui/MenuItemControl.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Window.h"

#include <QMenu>
#include <QTimer>

namespace platform::ui {

MenuItemControl::MenuItemControl(Window& window, const ControlDefinition& definition,
                                 QAction* action, QMenu* menu)
    : Control(window, definition), m_action(action), m_menu(menu)
{
    m_action->setText(text::toQString(m_text));
    if (!definition.tooltip.empty())
        m_action->setToolTip(text::toQString(definition.tooltip));
    const QIcon icon = window.icon(definition.icon);
    if (!icon.isNull())
        m_action->setIcon(icon);
    m_action->setEnabled(!definition.disabled);
    m_action->setVisible(!definition.hidden);
    if (!menu)
        QObject::connect(m_action, &QAction::triggered, m_action,
                         [this] { m_window.userAccepted(number()); });
}

int MenuItemControl::typeCode() const
{
    if (kind() == "menu")
        return TypeCode::Menu;
    return kind() == "toolbutton" ? TypeCode::ToolButton : TypeCode::Item;
}

void MenuItemControl::press()
{
    QPointer<QAction> action = m_action;
    QTimer::singleShot(0, action, [action] {
        if (action && action->isEnabled())
            action->trigger();
    });
}

ScreenArea MenuItemControl::screenArea() const
{
    // A toolbar button is clicked; a menu item is chosen from its menu.
    if (!m_buttonWidget)
        return {};
    return {m_buttonWidget, m_buttonWidget->rect()};
}

void MenuItemControl::applyVisible(bool visible)
{
    if (m_action)
        m_action->setVisible(visible);
}

void MenuItemControl::applyEnabled(bool enabled)
{
    if (m_action)
        m_action->setEnabled(enabled);
}

void MenuItemControl::setButtonWidget(QWidget* button)
{
    m_buttonWidget = button;
    if (button && m_definition.cursor == "hand")
        button->setCursor(Qt::PointingHandCursor);
}

std::string MenuItemControl::property(Property property) const
{
    if (property == Property::Cursor) {
        if (!m_buttonWidget || !m_buttonWidget->testAttribute(Qt::WA_SetCursor))
            return {};
        return m_buttonWidget->cursor().shape() == Qt::PointingHandCursor ? "hand"
               : m_buttonWidget->cursor().shape() == Qt::WaitCursor       ? "wait"
                                                                          : "";
    }
    if (property == Property::Tooltip)
        return m_action ? text::fromQString(m_action->toolTip()) : std::string();
    return Control::property(property);
}

bool MenuItemControl::setProperty(Property property, std::string_view value)
{
    if (property == Property::Cursor) {
        m_definition.cursor = std::string(value);
        if (m_buttonWidget) {
            if (value == "hand")
                m_buttonWidget->setCursor(Qt::PointingHandCursor);
            else if (value == "wait")
                m_buttonWidget->setCursor(Qt::WaitCursor);
            else
                m_buttonWidget->unsetCursor();
        }
        return true;
    }
    if (property == Property::Tooltip) {
        if (m_action)
            m_action->setToolTip(text::toQString(value));
        return true;
    }
    return Control::setProperty(property, value);
}

void MenuItemControl::showText(const QString& text)
{
    if (m_action)
        m_action->setText(text);
}

} // namespace platform::ui
