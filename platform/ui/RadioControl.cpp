#include "platform/ui/RadioControl.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/CompactChoice.h"
#include "platform/ui/OptionControl.h"
#include "platform/ui/Window.h"

#include <QTimer>

namespace platform::ui {

RadioControl::RadioControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_button(new CompactRadioButton(parent))
{
    m_button->setText(text::toQString(m_text));
    applyAppearance();
    if (auto* option = dynamic_cast<OptionControl*>(window.control(definition.parent)))
        option->addRadio(*this);
}

std::string RadioControl::value() const
{
    return m_definition.value.empty() ? m_definition.text : m_definition.value;
}

void RadioControl::press()
{
    QPointer<QRadioButton> button = m_button;
    QTimer::singleShot(0, button, [button] {
        if (button && button->isEnabled())
            button->click();
    });
}

std::string RadioControl::state() const
{
    return m_button->isChecked() ? "chosen" : "";
}

void RadioControl::showText(const QString& text)
{
    m_button->setText(text);
}

} // namespace platform::ui
