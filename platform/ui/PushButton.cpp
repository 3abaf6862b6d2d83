#include "platform/ui/PushButton.h"

#include <QKeyEvent>

namespace platform::ui {

void PushButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Enter with Ctrl, Alt or Shift is another key (an alert key of the window, say).
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    // A held key presses once.
    if (!event->isAutoRepeat() && isEnabled())
        click();
}

} // namespace platform::ui
