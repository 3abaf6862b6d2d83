#include "platform/ui/SheetControl.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/CompactTabBar.h"
#include "platform/ui/Event.h"
#include "platform/ui/TabControl.h"
#include "platform/ui/Window.h"

#include <QFrame>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace platform::ui {

SheetControl::SheetControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_frame(new QWidget(parent)), m_bar(new CompactTabBar(m_frame)),
      m_pane(new QFrame(m_frame))
{
    auto* layout = new QVBoxLayout(m_frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pane->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_bar);
    layout->addWidget(m_pane, 1);
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_bar->setFocusPolicy(Qt::NoFocus);
    applyAppearance();
    QObject::connect(m_bar, &QTabBar::currentChanged, m_frame, [this] {
        takeScreenValue();
        m_window.applyVisibility();
        m_window.raise(Event::NewSelection, number());
    });
}

void SheetControl::addTab(TabControl& tab)
{
    const QSignalBlocker blocker(m_bar);
    m_tabs.push_back(&tab);
    m_bar->addTab(text::toQString(tab.text()));
    // A hidden bar does not tell its layout that it grew; the layout would keep it 0 px high.
    m_bar->updateGeometry();
}

int SheetControl::indexOf(const TabControl& tab) const
{
    const auto it = std::find(m_tabs.begin(), m_tabs.end(), &tab);
    return it == m_tabs.end() ? -1 : static_cast<int>(it - m_tabs.begin());
}

int SheetControl::currentTab() const
{
    return m_bar->currentIndex() + 1;
}

void SheetControl::setCurrentTab(int position)
{
    if (position < 1 || position > static_cast<int>(m_tabs.size()))
        return;
    {
        const QSignalBlocker blocker(m_bar);
        m_bar->setCurrentIndex(position - 1);
    }
    takeScreenValue();
    m_window.applyVisibility();
}

bool SheetControl::isCurrent(const TabControl& tab) const
{
    return indexOf(tab) == m_bar->currentIndex();
}

void SheetControl::setTabText(const TabControl& tab, const QString& text)
{
    const int index = indexOf(tab);
    if (index >= 0) {
        m_bar->setTabText(index, text);
        m_bar->updateGeometry();
    }
}

void SheetControl::setTabVisible(const TabControl& tab, bool visible)
{
    const int index = indexOf(tab);
    if (index >= 0 && m_bar->isTabVisible(index) != visible) {
        m_bar->setTabVisible(index, visible);
        m_bar->updateGeometry();
    }
}

void SheetControl::chooseTab(const TabControl& tab)
{
    const int index = indexOf(tab);
    if (index >= 0)
        m_bar->setCurrentIndex(index); // raises the new selection through the signal
}

ScreenArea SheetControl::tabArea(const TabControl& tab) const
{
    const int index = indexOf(tab);
    if (index < 0 || !m_bar->isTabVisible(index))
        return {m_bar, QRect()};
    return {m_bar, m_bar->tabRect(index)};
}

QRect SheetControl::pageArea() const
{
    return m_pane->contentsRect().translated(m_pane->pos());
}

void SheetControl::refresh(bool force)
{
    if (!m_binding)
        return;
    const std::string value = std::to_string(static_cast<int>(m_binding->number()));
    if (!force && m_shownOnce && value == m_lastShown)
        return;
    m_lastShown = value;
    m_shownOnce = true;
    setCurrentTab(static_cast<int>(m_binding->number()));
}

void SheetControl::takeScreenValue()
{
    if (!m_binding)
        return;
    m_binding->setNumber(currentTab());
    m_lastShown = std::to_string(currentTab());
    m_shownOnce = true;
}

std::string SheetControl::state() const
{
    return "tab " + std::to_string(currentTab());
}

std::string SheetControl::property(Property property) const
{
    if (property == Property::Checked)
        return std::to_string(currentTab());
    return Control::property(property);
}

bool SheetControl::setProperty(Property property, std::string_view value)
{
    if (property != Property::Checked)
        return Control::setProperty(property, value);
    setCurrentTab(static_cast<int>(parseNumber(value)));
    return true;
}

} // namespace platform::ui
