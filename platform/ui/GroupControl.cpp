#include "platform/ui/GroupControl.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/GroupFrameStyle.h"

namespace platform::ui {

GroupControl::GroupControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_box(new QGroupBox(parent))
{
    m_box->setStyle(GroupFrameStyle::instance());
    m_box->setTitle(text::toQString(m_text));
    m_box->setFocusPolicy(Qt::NoFocus);
    applyAppearance();
}

void GroupControl::showText(const QString& text)
{
    m_box->setTitle(text);
}

} // namespace platform::ui
