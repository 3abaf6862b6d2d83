#include "platform/ui/keyboard/LayoutRequest.h"

#include "platform/ui/Control.h"
#include "platform/ui/Property.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

#include <QApplication>
#include <QWidget>

namespace platform::ui::keyboard {
namespace {

Control* focusedControl()
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return nullptr;
    for (Window* window : ThreadRegistry::openWindows())
        for (Control* control : window->controls()) {
            QWidget* widget = control->widget();
            if (widget && (widget == focus || widget->isAncestorOf(focus)))
                return control;
        }
    return nullptr;
}

} // namespace

bool offerLayoutChange()
{
    Control* control = focusedControl();
    if (!control)
        return true;
    return control->procedure()(control, Message::InputLanguageChangeRequest, 0, 0) != 0;
}

} // namespace platform::ui::keyboard
