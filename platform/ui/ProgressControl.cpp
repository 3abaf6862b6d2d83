#include "platform/ui/ProgressControl.h"

namespace platform::ui {

ProgressControl::ProgressControl(Window& window, const ControlDefinition& definition,
                                 QWidget* parent)
    : Control(window, definition), m_bar(new QProgressBar(parent))
{
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    applyAppearance();
}

void ProgressControl::refresh(bool force)
{
    if (!m_binding)
        return;
    const int value = std::clamp(static_cast<int>(m_binding->number()), 0, 100);
    if (force || value != m_bar->value())
        m_bar->setValue(value);
}

std::string ProgressControl::state() const
{
    return "value " + std::to_string(m_bar->value());
}

std::string ProgressControl::property(Property property) const
{
    if (property == Property::Progress)
        return std::to_string(m_bar->value());
    return Control::property(property);
}

bool ProgressControl::setProperty(Property property, std::string_view value)
{
    if (property != Property::Progress)
        return Control::setProperty(property, value);
    m_bar->setValue(std::clamp(static_cast<int>(parseNumber(value)), 0, 100));
    return true;
}

} // namespace platform::ui
