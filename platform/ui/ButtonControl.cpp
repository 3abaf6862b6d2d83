#include "platform/ui/ButtonControl.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/Window.h"

#include <QTimer>

namespace platform::ui {

ButtonControl::ButtonControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_button(new PushButton(parent))
{
    m_button->setText(text::toQString(m_text));
    m_button->setAutoDefault(false);
    const QIcon icon = window.icon(definition.icon);
    if (!icon.isNull())
        m_button->setIcon(icon);
    applyAppearance();
    QObject::connect(m_button, &QPushButton::clicked, m_button,
                     [this] { m_window.userAccepted(number()); });
}

void ButtonControl::press()
{
    QPointer<QPushButton> button = m_button;
    QTimer::singleShot(0, button, [button] {
        if (button && button->isEnabled())
            button->click();
    });
}

void ButtonControl::showText(const QString& text)
{
    m_button->setText(text);
}

} // namespace platform::ui
