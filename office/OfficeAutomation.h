#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::automation {
class OleContainer;
}
namespace platform::ui {
class Window;
}

namespace office {

// The common base of the Office drivers: every operation becomes an automation path text sent
// through the OLE container control of the calling window, as a read (the answer comes back as
// text) or a write. Texts are Windows-1251. No operation checks an answer: a path the server
// cannot carry out answers an empty text, which reads as the number 0.
class OfficeAutomation
{
public:
    static constexpr size_t kAnswerLength = 255;
    static constexpr size_t kObjectLength = 19;
    static constexpr size_t kPrefixLength = 255;

    OfficeAutomation() = default;
    virtual ~OfficeAutomation() = default;
    OfficeAutomation(const OfficeAutomation&) = delete;
    OfficeAutomation& operator=(const OfficeAutomation&) = delete;

    virtual void Activate();
    virtual void Copy();
    virtual void Cut();
    virtual void ClearPrefix();
    virtual int32_t GetAlignment();
    virtual int32_t GetFontBold();
    virtual int32_t GetDisplayAlerts();
    virtual std::string GetFontName();
    virtual int32_t GetFontColor();
    virtual int32_t GetFontSize();
    virtual int32_t GetFontItalic();
    // The answer to reading prefix + path, blank-padded or cut to 255 characters.
    virtual std::string GetProperty(std::string_view path);
    virtual int32_t GetFontUnderline();
    virtual int32_t GetVersion();
    virtual int32_t GetVisible();
    virtual void Init(platform::ui::Window* window, int32_t control, uint8_t create,
                      uint8_t activate, uint8_t visible);
    virtual uint8_t IsRunning();
    virtual void SetWindowState1();
    virtual void SetWindowState2();
    virtual void Paste();
    virtual void Quit();
    virtual void RunMacro(std::string_view macro);
    // Reads prefix + path (running the method it names) and drops the answer.
    virtual void CallMethod(std::string_view path);
    virtual void SetAlignment(uint8_t value);
    virtual void SetFontBold(uint8_t flag);
    virtual void SetDisplayAlerts(uint8_t flag);
    virtual void SetFontName(std::string_view name);
    virtual void SetFontColor(int32_t colour);
    virtual void SetFontSize(int16_t size);
    virtual void SetFont(std::string_view name, int16_t size, int32_t colour, uint8_t bold,
                         uint8_t italic, uint8_t alignment);
    virtual void SetFontItalic(uint8_t flag);
    // Assigns the value text to prefix + path.
    virtual void SetProperty(std::string_view path, std::string_view value);
    virtual void SetReportException(uint8_t flag);
    virtual void SetScreenUpdating(uint8_t flag);
    virtual void SetFontUnderline(uint8_t flag);
    virtual void SetVisible(uint8_t flag);
    virtual void CreateApplication();
    virtual void SetPrefix(std::string_view prefix);

    void SetControlLanguage();

    int32_t control() const { return m_control; }
    const std::string& object() const { return m_object; }
    const std::string& swith() const { return m_swith; }
    platform::ui::Window* window() const { return m_window; }

    // The leading number of an answer ("." or "," as the point, an exponent allowed) truncated
    // toward zero; 0 when the answer does not begin with a number.
    static int32_t numberOf(std::string_view answer);

protected:
    // The OLE container control CONTROL of WINDOW; nullptr when there is none.
    platform::automation::OleContainer* container() const;
    static std::string flag(uint8_t value) { return value ? "1" : "0"; }
    // Keeps the first 19 characters of an answer (blanks included) as the current object.
    void setObject(const std::string& answer) { m_object = answer.substr(0, kObjectLength); }

private:
    int32_t m_control = 0;
    std::string m_object;
    std::string m_swith;
    platform::ui::Window* m_window = nullptr;
};

} // namespace office
