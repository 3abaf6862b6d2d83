#include "office/OfficeAutomation.h"

#include "platform/automation/AutomationValue.h"
#include "platform/automation/OleContainer.h"
#include "platform/automation/OleControl.h"

#include <climits>
#include <cmath>

namespace office {

using platform::automation::OleContainer;
using platform::automation::OleControl;

OleContainer* OfficeAutomation::container() const
{
    OleContainer* found = OleControl::containerOf(m_window, m_control);
    if (!found)
        qWarning("office automation: control %d is no OLE container", static_cast<int>(m_control));
    return found;
}

int32_t OfficeAutomation::numberOf(std::string_view answer)
{
    const double number =
        platform::automation::AutomationValue::text(std::string(answer)).toNumber();
    if (!std::isfinite(number))
        return 0;
    const double whole = std::trunc(number);
    if (whole >= static_cast<double>(INT32_MAX))
        return INT32_MAX;
    if (whole <= static_cast<double>(INT32_MIN))
        return INT32_MIN;
    return static_cast<int32_t>(whole);
}

// The channel. The runtime has no global lock to release around a call: logical threads share
// one operating-system thread, so the call simply runs.
std::string OfficeAutomation::GetProperty(std::string_view path)
{
    OleContainer* ole = container();
    std::string answer = ole ? ole->read(m_swith + std::string(path)) : std::string();
    answer.resize(kAnswerLength, ' ');
    return answer;
}

void OfficeAutomation::CallMethod(std::string_view path)
{
    if (OleContainer* ole = container())
        ole->read(m_swith + std::string(path));
}

void OfficeAutomation::SetProperty(std::string_view path, std::string_view value)
{
    if (OleContainer* ole = container())
        ole->write(m_swith + std::string(path), value);
}

void OfficeAutomation::SetPrefix(std::string_view prefix)
{
    std::string text(prefix);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    if (text.size() > kPrefixLength)
        text.resize(kPrefixLength);
    m_swith = std::move(text);
}

void OfficeAutomation::ClearPrefix()
{
    m_swith.clear();
}

void OfficeAutomation::Init(platform::ui::Window* window, int32_t control, uint8_t create,
                            uint8_t activate, uint8_t visible)
{
    m_window = window;
    m_control = control;
    if (create && !IsRunning())
        CreateApplication();
    if (activate)
        Activate();
    SetVisible(visible);
}

uint8_t OfficeAutomation::IsRunning()
{
    return numberOf(GetProperty("Application.Version")) != 0 ? 1 : 0;
}

void OfficeAutomation::CreateApplication() {}

void OfficeAutomation::SetControlLanguage()
{
    if (OleContainer* ole = container())
        ole->setLanguage(1033);
}

void OfficeAutomation::Quit()
{
    CallMethod("Quit");
    if (OleContainer* ole = container())
        ole->deactivate();
}

void OfficeAutomation::SetReportException(uint8_t flag)
{
    if (OleContainer* ole = container())
        ole->setReportException(flag != 0);
}

void OfficeAutomation::Activate() { CallMethod("Application.Activate"); }
void OfficeAutomation::Copy() { CallMethod("Selection.Copy"); }
void OfficeAutomation::Cut() { CallMethod("Selection.Cut"); }
void OfficeAutomation::Paste() { CallMethod("Selection.Paste"); }
int32_t OfficeAutomation::GetAlignment() { return 0; }
int32_t OfficeAutomation::GetFontBold() { return numberOf(GetProperty("Selection.Font.Bold")); }
int32_t OfficeAutomation::GetDisplayAlerts() { return numberOf(GetProperty("DisplayAlerts")); }
std::string OfficeAutomation::GetFontName() { return GetProperty("Selection.Font.Name"); }
int32_t OfficeAutomation::GetFontColor() { return numberOf(GetProperty("Selection.Font.ColorIndex")); }
int32_t OfficeAutomation::GetFontSize() { return numberOf(GetProperty("Selection.Font.Size")); }
int32_t OfficeAutomation::GetFontItalic() { return numberOf(GetProperty("Selection.Font.Italic")); }
int32_t OfficeAutomation::GetFontUnderline()
{
    return numberOf(GetProperty("Selection.Font.Underline"));
}
int32_t OfficeAutomation::GetVersion() { return numberOf(GetProperty("Application.Version")); }
int32_t OfficeAutomation::GetVisible() { return numberOf(GetProperty("Visible")); }
void OfficeAutomation::SetWindowState1() { SetProperty("Application.WindowState", "1"); }
void OfficeAutomation::SetWindowState2() { SetProperty("Application.WindowState", "2"); }

void OfficeAutomation::RunMacro(std::string_view macro)
{
    CallMethod("Application.Run(" + std::string(macro) + ")");
}

void OfficeAutomation::SetAlignment(uint8_t) {}
void OfficeAutomation::SetFontBold(uint8_t value) { SetProperty("Selection.Font.Bold", flag(value)); }
void OfficeAutomation::SetDisplayAlerts(uint8_t value) { SetProperty("DisplayAlerts", flag(value)); }
void OfficeAutomation::SetFontName(std::string_view name) { SetProperty("Selection.Font.Name", name); }

// Sends nothing: the colour argument of SetFont has never had an effect, and callers that set a
// font colour write "Selection.Font.ColorIndex" themselves.
void OfficeAutomation::SetFontColor(int32_t) {}

void OfficeAutomation::SetFontSize(int16_t size)
{
    SetProperty("Selection.Font.Size", std::to_string(size));
}

void OfficeAutomation::SetFont(std::string_view name, int16_t size, int32_t colour, uint8_t bold,
                               uint8_t italic, uint8_t alignment)
{
    if (name.find_first_not_of(' ') != std::string_view::npos)
        SetFontName(name);
    SetFontSize(size);
    SetFontBold(bold);
    SetFontItalic(italic);
    SetFontColor(colour);
    if (alignment != 0)
        SetAlignment(alignment);
}

void OfficeAutomation::SetFontItalic(uint8_t value) { SetProperty("Selection.Font.Italic", flag(value)); }
void OfficeAutomation::SetScreenUpdating(uint8_t value) { SetProperty("ScreenUpdating", flag(value)); }
void OfficeAutomation::SetFontUnderline(uint8_t value)
{
    SetProperty("Selection.Font.Underline", flag(value));
}
void OfficeAutomation::SetVisible(uint8_t value) { SetProperty("Visible", flag(value)); }

} // namespace office
