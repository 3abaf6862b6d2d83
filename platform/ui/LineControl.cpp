#include "platform/ui/LineControl.h"

#include "platform/ui/Appearance.h"

namespace platform::ui {

LineControl::LineControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_line(new QFrame(parent))
{
    const bool vertical = definition.at.width.value_or(1) == 0;
    m_line->setFrameShape(vertical ? QFrame::VLine : QFrame::HLine);
    m_line->setFrameShadow(QFrame::Plain);
    m_line->setLineWidth(1);
    applyAppearance();
    const QColor colour = colourOf(definition.font.colour);
    if (colour.isValid()) {
        QPalette palette = m_line->palette();
        palette.setColor(QPalette::WindowText, colour);
        m_line->setPalette(palette);
    }
}

std::string LineControl::property(Property property) const
{
    if (property == Property::LineWidth)
        return std::to_string(m_line->lineWidth());
    return Control::property(property);
}

bool LineControl::setProperty(Property property, std::string_view value)
{
    if (property != Property::LineWidth)
        return Control::setProperty(property, value);
    m_line->setLineWidth(std::max(0, static_cast<int>(parseNumber(value))));
    return true;
}

} // namespace platform::ui
