#pragma once

#include "platform/automation/AutomationObject.h"
#include "platform/automation/ReferenceTable.h"

#include <memory>
#include <string>
#include <string_view>

namespace platform::automation {

class AutomationPath;
struct PathMember;

// What an OLE container holds: the application object of a server made from a programmatic
// identifier, and the channel to it. Paths and values are Windows-1251 texts. A path that
// cannot be carried out is logged and answers an empty text; nothing here throws.
class OleContainer
{
public:
    OleContainer() = default;
    OleContainer(const OleContainer&) = delete;
    OleContainer& operator=(const OleContainer&) = delete;

    // Property Create: lets go of the application held so far and makes a new one. False (and
    // nothing held) for an identifier no built-in server answers to.
    bool create(std::string_view progId);
    // Property Deactivate: lets go of the application and of every reference handed out.
    void deactivate();
    bool hasApplication() const { return m_application != nullptr; }
    const std::shared_ptr<AutomationObject>& application() const { return m_application; }
    const std::string& progId() const { return m_progId; }

    // Property Language: the locale identifier the calls are made with (kept; the built-in
    // servers answer the same in every language).
    int language() const { return m_language; }
    void setLanguage(int localeId) { m_language = localeId; }
    // Property ReportException: failures are also shown to the user when set.
    bool reportException() const { return m_reportException; }
    void setReportException(bool report) { m_reportException = report; }

    // Reads the property (or runs the method) the path names; an object answer comes back as a
    // reference text "`<n>".
    std::string read(std::string_view path);
    // Assigns the value text to the property the path names; false when it failed.
    bool write(std::string_view path, std::string_view value);

    // The system clipboard as plain text; an empty text leaves it empty.
    static void setClipboardText(std::string_view text);
    static std::string clipboardText();

    // The last failure ("" after a call that worked), for messages and tests.
    const std::string& lastError() const { return m_lastError; }
    // The runtime's error code the last failure carried (a file the server could not write: 39
    // no room, 5 no access ...); 0 after a call that worked or a failure without one.
    int lastErrorCode() const { return m_lastErrorCode; }
    int failureCount() const { return m_failures; }

private:
    // Follows every member but the last one of a write (all of them for a read).
    AutomationValue walk(const AutomationPath& path, size_t members);
    Arguments argumentsOf(const PathMember& member) const;
    void failed(std::string_view path, const std::string& why, int code = 0);

    std::shared_ptr<AutomationObject> m_application;
    std::string m_progId;
    ReferenceTable m_references;
    int m_language = 0;
    bool m_reportException = false;
    std::string m_lastError;
    int m_lastErrorCode = 0;
    int m_failures = 0;
};

} // namespace platform::automation
