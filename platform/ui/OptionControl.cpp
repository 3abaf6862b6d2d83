#include "platform/ui/OptionControl.h"

#include "platform/ui/RadioControl.h"
#include "platform/ui/Window.h"

#include <QSignalBlocker>

namespace platform::ui {
namespace {

std::string clipped(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

} // namespace

OptionControl::OptionControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : GroupControl(window, definition, parent), m_group(new QButtonGroup(m_box))
{
    m_group->setExclusive(true);
}

void OptionControl::addRadio(RadioControl& radio)
{
    m_radios.push_back(&radio);
    m_group->addButton(radio.button());
    QObject::connect(radio.button(), &QRadioButton::clicked, m_box, [this] { radioChosen(); });
}

void OptionControl::radioChosen()
{
    takeScreenValue();
    m_window.userAccepted(number());
}

RadioControl* OptionControl::chosen() const
{
    for (RadioControl* radio : m_radios)
        if (radio->button()->isChecked())
            return radio;
    return nullptr;
}

void OptionControl::choose(std::string_view value)
{
    for (RadioControl* radio : m_radios) {
        const QSignalBlocker blocker(radio->button());
        if (clipped(radio->value()) == clipped(std::string(value))) {
            radio->button()->setChecked(true);
            return;
        }
    }
    // No radio has the value: none is shown chosen.
    m_group->setExclusive(false);
    for (RadioControl* radio : m_radios)
        radio->button()->setChecked(false);
    m_group->setExclusive(true);
}

void OptionControl::refresh(bool force)
{
    if (!m_binding)
        return;
    std::string value = m_binding->text();
    if (!force && m_shownOnce && value == m_lastShown)
        return;
    m_lastShown = value;
    m_shownOnce = true;
    if (m_binding->isNumber()) {
        for (RadioControl* radio : m_radios)
            if (parseNumber(radio->value()) == m_binding->number())
                value = radio->value();
    }
    choose(value);
}

void OptionControl::takeScreenValue()
{
    RadioControl* radio = chosen();
    if (!m_binding || !radio)
        return;
    m_binding->setText(radio->value());
    m_lastShown = m_binding->text();
    m_shownOnce = true;
}

std::string OptionControl::state() const
{
    RadioControl* radio = chosen();
    return radio ? "value " + radio->value() : "";
}

std::string OptionControl::property(Property property) const
{
    if (property == Property::Checked) {
        RadioControl* radio = chosen();
        return radio ? radio->value() : "";
    }
    return GroupControl::property(property);
}

bool OptionControl::setProperty(Property property, std::string_view value)
{
    if (property != Property::Checked)
        return GroupControl::setProperty(property, value);
    choose(value);
    takeScreenValue();
    return true;
}

} // namespace platform::ui
