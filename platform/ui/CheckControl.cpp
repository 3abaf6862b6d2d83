#include "platform/ui/CheckControl.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/CompactChoice.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"

#include <QSignalBlocker>
#include <QTimer>

namespace platform::ui {
namespace {

std::string clipped(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

} // namespace

CheckControl::CheckControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_box(new CompactCheckBox(parent))
{
    m_box->setText(text::toQString(m_text));
    applyAppearance();
    QObject::connect(m_box, &QCheckBox::clicked, m_box, [this] {
        takeScreenValue();
        m_window.userAccepted(number());
    });
}

bool CheckControl::variableTicked() const
{
    if (m_binding->isNumber())
        return m_binding->number() == parseNumber(m_definition.trueValue);
    return clipped(m_binding->text()) == clipped(m_definition.trueValue);
}

void CheckControl::refresh(bool force)
{
    if (!m_binding)
        return;
    const std::string value(1, variableTicked() ? '1' : '0');
    if (!force && m_shownOnce && value == m_lastShown)
        return;
    m_lastShown = value;
    m_shownOnce = true;
    const QSignalBlocker blocker(m_box);
    m_box->setChecked(value == "1");
}

void CheckControl::takeScreenValue()
{
    if (!m_binding)
        return;
    m_binding->setText(m_box->isChecked() ? m_definition.trueValue : m_definition.falseValue);
    m_lastShown.assign(1, m_box->isChecked() ? '1' : '0');
    m_shownOnce = true;
}

void CheckControl::press()
{
    QPointer<QCheckBox> box = m_box;
    QTimer::singleShot(0, box, [box] {
        if (box && box->isEnabled())
            box->click();
    });
}

std::string CheckControl::state() const
{
    return m_box->isChecked() ? "checked" : "unchecked";
}

std::string CheckControl::property(Property property) const
{
    if (property == Property::Checked)
        return m_box->isChecked() ? "1" : "0";
    return Control::property(property);
}

bool CheckControl::setProperty(Property property, std::string_view value)
{
    if (property != Property::Checked)
        return Control::setProperty(property, value);
    const QSignalBlocker blocker(m_box);
    m_box->setChecked(parseNumber(value) != 0);
    takeScreenValue();
    return true;
}

void CheckControl::showText(const QString& text)
{
    m_box->setText(text);
}

} // namespace platform::ui
