#include "platform/ui/TabControl.h"

#include "platform/ui/SheetControl.h"
#include "platform/ui/Window.h"

#include <QTimer>

namespace platform::ui {

TabControl::TabControl(Window& window, const ControlDefinition& definition)
    : Control(window, definition),
      m_sheet(dynamic_cast<SheetControl*>(window.control(definition.parent)))
{
    if (m_sheet)
        m_sheet->addTab(*this);
}

void TabControl::press()
{
    QTimer::singleShot(0, m_window.content(), [this] {
        if (m_sheet && !isDisabled())
            m_sheet->chooseTab(*this);
    });
}

ScreenArea TabControl::screenArea() const
{
    return m_sheet ? m_sheet->tabArea(*this) : ScreenArea{};
}

std::string TabControl::state() const
{
    return m_sheet && m_sheet->isCurrent(*this) ? "current" : "";
}

void TabControl::applyVisible(bool)
{
    if (m_sheet)
        m_sheet->setTabVisible(*this, !m_hidden);
}

void TabControl::applyEnabled(bool)
{
}

void TabControl::showText(const QString& text)
{
    if (m_sheet)
        m_sheet->setTabText(*this, text);
}

} // namespace platform::ui
