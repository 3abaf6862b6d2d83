#pragma once

#include "platform/automation/AutomationObject.h"

#include <string>

namespace platform::automation::outlook {

class MailSession;
class OutlookNamespace;

// The application object of the built-in "Outlook.Application" server: the "MAPI" namespace,
// CreateItem for the seven kinds (0 mail, 1 appointment, 2 contact, 3 task, 4 journal entry,
// 5 note, 6 post), Version and Visible.
class OutlookApplication : public AutomationObject
{
public:
    // The store at storePath, or the user's own when empty.
    explicit OutlookApplication(std::string storePath = {});

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return "Application"; }

private:
    std::shared_ptr<MailSession> m_session;
    std::shared_ptr<OutlookNamespace> m_namespace;
    bool m_visible = false;
};

} // namespace platform::automation::outlook
