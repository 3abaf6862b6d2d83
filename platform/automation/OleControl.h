#pragma once

#include "platform/automation/OleContainer.h"
#include "platform/ui/Control.h"

#include <QPointer>
#include <QWidget>

namespace platform::ui {
class Window;
}

namespace platform::automation {

// The OLE container control of a window (kind "ole"): an empty area on the window holding an
// OleContainer. The built-in servers show nothing of their own in it.
class OleControl : public platform::ui::Control
{
public:
    OleControl(platform::ui::Window& window, const platform::ui::ControlDefinition& definition,
               QWidget* parent);

    QWidget* widget() const override { return m_area; }
    int typeCode() const override { return platform::ui::TypeCode::Ole; }
    bool takesFocus() const override { return false; }

    OleContainer& container() { return m_container; }

    // Makes the kind "ole" known to window definitions. Done when the program starts; calling it
    // again is harmless.
    static void registerKind();
    // The container of control number `control` on the window; nullptr when that control is no
    // OLE container (or there is no window).
    static OleContainer* containerOf(platform::ui::Window* window, int control);

private:
    QPointer<QWidget> m_area;
    OleContainer m_container;
};

} // namespace platform::automation
