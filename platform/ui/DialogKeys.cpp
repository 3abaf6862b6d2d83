#include "platform/ui/DialogKeys.h"

#include "platform/ui/Control.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"

#include <QApplication>

namespace platform::ui {
namespace {

// The one button a person can press, or nullptr when there are none or several.
Control* soleButton(const Window& window)
{
    Control* sole = nullptr;
    for (Control* control : window.controls()) {
        if (control->kind() != "button" || !window.isShown(*control))
            continue;
        if (sole)
            return nullptr;
        sole = control;
    }
    return sole && !sole->isDisabled() ? sole : nullptr;
}

} // namespace

bool takeDialogKey(Window& window, Control* focused, int code)
{
    // An open drop-down list takes its own Esc and Enter.
    if (window.definition().kind != "dialog" || QApplication::activePopupWidget())
        return false;
    if (code == Key::Esc) {
        window.userClose();
        return true;
    }
    // A focused button presses itself.
    if (code != Key::Enter || (focused && focused->kind() == "button"))
        return false;
    Control* button = soleButton(window);
    if (!button)
        return false;
    window.userAccepted(button->number());
    return true;
}

} // namespace platform::ui
