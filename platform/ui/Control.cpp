#include "platform/ui/Control.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Window.h"

#include <QCursor>

#include <QPalette>
#include <QWidget>
#include <charconv>

namespace platform::ui {
namespace {

long long parseInteger(std::string_view value)
{
    long long result = 0;
    const auto first = value.find_first_not_of(' ');
    if (first != std::string_view::npos)
        std::from_chars(value.data() + first, value.data() + value.size(), result);
    return result;
}

} // namespace

std::intptr_t defaultWindowProcedure(void*, unsigned message, std::uintptr_t, std::intptr_t)
{
    return message == Message::InputLanguageChangeRequest ? 1 : 0;
}

Control::Control(Window& window, const ControlDefinition& definition)
    : m_window(window), m_definition(definition), m_picture(definition.picture),
      m_text(definition.text), m_hidden(definition.hidden), m_disabled(definition.disabled),
      m_alertKeys(definition.alertKeys)
{
}

Control::~Control() = default;

void Control::setText(std::string_view text)
{
    m_text = std::string(text);
    showText(text::toQString(m_text));
}

void Control::showText(const QString&)
{
}

void Control::bind(std::unique_ptr<VariableBinding> binding)
{
    m_binding = std::move(binding);
    m_shownOnce = false;
}

std::string Control::shownValue() const
{
    if (!m_binding)
        return m_text;
    return m_picture.isEmpty() ? m_binding->text() : m_picture.display(*m_binding);
}

void Control::refresh(bool force)
{
    if (!m_binding)
        return;
    std::string value = shownValue();
    if (!force && m_shownOnce && value == m_lastShown)
        return;
    m_lastShown = value;
    m_shownOnce = true;
    m_text = value;
    showText(text::toQString(value));
}

void Control::setHidden(bool hidden)
{
    m_hidden = hidden;
    m_window.applyVisibility();
}

void Control::setDisabled(bool disabled)
{
    m_disabled = disabled;
    applyEnabled(!disabled);
}

void Control::applyVisible(bool visible)
{
    if (QWidget* w = widget())
        w->setVisible(visible);
}

void Control::applyEnabled(bool enabled)
{
    if (QWidget* w = widget())
        w->setEnabled(enabled);
}

void Control::press()
{
}

ScreenArea Control::screenArea() const
{
    QWidget* w = widget();
    return w ? ScreenArea{w, w->rect()} : ScreenArea{};
}

void Control::applyAppearance()
{
    QWidget* w = widget();
    if (!w)
        return;
    w->setFont(fontOf(m_definition.font, m_window.font()));
    QPalette palette = w->palette();
    const QColor text = colourOf(m_definition.font.colour);
    if (text.isValid()) {
        // Only the enabled look: a disabled control keeps the style's greyed text.
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            for (const QPalette::ColorRole role :
                 {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
                palette.setColor(group, role, text);
    }
    const QColor background = colourOf(m_definition.background);
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::Button, background);
        palette.setColor(QPalette::Base, background);
        w->setAutoFillBackground(true);
    }
    w->setPalette(palette);
    if (!m_definition.tooltip.empty())
        w->setToolTip(text::toQString(m_definition.tooltip));
    if (m_definition.cursor == "hand")
        w->setCursor(Qt::PointingHandCursor);
    else if (m_definition.cursor == "wait")
        w->setCursor(Qt::WaitCursor);
    w->setEnabled(!m_disabled);
}

std::string Control::property(Property property) const
{
    QWidget* w = widget();
    switch (property) {
    case Property::Text:
        return text();
    case Property::Type:
        return std::to_string(typeCode());
    case Property::Hidden:
        return m_hidden ? "1" : "0";
    case Property::Disabled:
        return m_disabled ? "1" : "0";
    case Property::Tooltip:
        return w ? text::fromQString(w->toolTip()) : m_definition.tooltip;
    case Property::FontName:
        return m_definition.font.name.empty() ? m_window.definition().font.name
                                              : m_definition.font.name;
    case Property::FontSize:
        return std::to_string(w ? w->font().pointSize() : m_definition.font.size);
    case Property::FontWeight:
        return std::to_string(w ? w->font().weight() : m_definition.font.weight);
    case Property::FontColour:
        return std::to_string(m_definition.font.colour);
    case Property::Background:
        return std::to_string(m_definition.background);
    case Property::Cursor:
        if (!w || !w->testAttribute(Qt::WA_SetCursor))
            return {};
        return w->cursor().shape() == Qt::PointingHandCursor ? "hand"
               : w->cursor().shape() == Qt::WaitCursor       ? "wait"
                                                             : "";
    case Property::X:
    case Property::Y:
    case Property::Width:
    case Property::Height:
        return std::to_string(m_window.controlPlacement(*this, property));
    case Property::WindowProcedure:
        return std::to_string(reinterpret_cast<std::intptr_t>(m_procedure));
    default: {
        const auto kept = m_kept.find(property);
        return kept == m_kept.end() ? std::string() : kept->second;
    }
    }
}

bool Control::setProperty(Property property, std::string_view value)
{
    QWidget* w = widget();
    switch (property) {
    case Property::Text:
        setText(value);
        return true;
    case Property::Type:
        return false;
    case Property::Hidden:
        setHidden(parseNumber(value) != 0);
        return true;
    case Property::Disabled:
        setDisabled(parseNumber(value) != 0);
        return true;
    case Property::Tooltip:
        m_definition.tooltip = std::string(value);
        if (w)
            w->setToolTip(text::toQString(value));
        return true;
    case Property::FontName:
        m_definition.font.name = std::string(value);
        applyAppearance();
        return true;
    case Property::FontSize:
        m_definition.font.size = static_cast<int>(parseNumber(value));
        applyAppearance();
        return true;
    case Property::FontWeight:
        m_definition.font.weight = static_cast<int>(parseNumber(value));
        applyAppearance();
        return true;
    case Property::FontColour:
        m_definition.font.colour = static_cast<int>(parseNumber(value));
        applyAppearance();
        return true;
    case Property::Background:
        m_definition.background = static_cast<int>(parseNumber(value));
        applyAppearance();
        return true;
    case Property::Cursor:
        m_definition.cursor = std::string(value);
        if (w) {
            if (value == "hand")
                w->setCursor(Qt::PointingHandCursor);
            else if (value == "wait")
                w->setCursor(Qt::WaitCursor);
            else
                w->unsetCursor();
        }
        return true;
    case Property::X:
    case Property::Y:
    case Property::Width:
    case Property::Height:
        // An empty value leaves the coordinate as it is.
        if (!value.empty())
            m_window.setControlPlacement(*this, property, static_cast<int>(parseNumber(value)));
        return true;
    case Property::WindowProcedure:
        setProcedure(
            reinterpret_cast<WindowProcedure>(static_cast<std::intptr_t>(parseInteger(value))));
        return true;
    case Property::ClientWidth:
    case Property::ClientHeight:
    case Property::Timer:
    case Property::Active:
        return false;
    default:
        m_kept[property] = std::string(value);
        return true;
    }
}

} // namespace platform::ui
