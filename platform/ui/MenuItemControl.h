#pragma once

#include "platform/ui/Control.h"

#include <QAction>
#include <QPointer>

class QMenu;

namespace platform::ui {

// A menu, a menu item or a toolbar button of a frame (negative numbers). Choosing an item or
// pressing a button raises its accepted event.
class MenuItemControl : public Control
{
public:
    MenuItemControl(Window& window, const ControlDefinition& definition, QAction* action,
                    QMenu* menu = nullptr);

    QWidget* widget() const override { return nullptr; }
    int typeCode() const override;
    bool takesFocus() const override { return false; }
    void press() override;
    ScreenArea screenArea() const override;
    void applyVisible(bool visible) override;
    void applyEnabled(bool enabled) override;
    std::string property(Property property) const override;
    bool setProperty(Property property, std::string_view value) override;

    QAction* action() const { return m_action; }
    QMenu* menu() const { return m_menu; }
    // The toolbar's button widget, for cursors.
    void setButtonWidget(QWidget* button);

protected:
    void showText(const QString& text) override;

private:
    QPointer<QAction> m_action;
    QPointer<QMenu> m_menu;
    QPointer<QWidget> m_buttonWidget;
};

} // namespace platform::ui
