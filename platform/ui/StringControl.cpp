#include "platform/ui/StringControl.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Window.h"

namespace platform::ui {

StringControl::StringControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_label(new QLabel(parent))
{
    // "&" is an ordinary character in these texts.
    m_label->setTextFormat(Qt::PlainText);
    if (m_picture.isNumeric()) {
        m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A number flush with its right edge would run into the text that follows it.
        m_label->setContentsMargins(0, 0, 4, 0);
    } else
        m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label->setText(text::toQString(m_text));
    applyAppearance();
    // A text given room for more than one line runs on over them, as static text does.
    if (definition.at.height &&
        window.units().toPixelsY(*definition.at.height) >= 2 * m_label->fontMetrics().lineSpacing())
        m_label->setWordWrap(true);
}

int StringControl::typeCode() const
{
    return kind() == "prompt" ? TypeCode::Prompt : TypeCode::String;
}

void StringControl::showText(const QString& text)
{
    // Display fields keep the picture's padding in the value; the label aligns it instead.
    m_label->setText(m_picture.isNumeric() ? text.trimmed() : text);
}

} // namespace platform::ui
