#pragma once

#include "platform/automation/AutomationObject.h"

#include <map>

namespace platform::automation::outlook {

class MailSession;
class OutlookFolder;

// The "MAPI" namespace: GetDefaultFolder(n) for the outbox (4), sent mail (5), inbox (6),
// calendar (9), contacts (10), journal (11), notes (12), tasks (13) and drafts (16), and
// GetItemFromID(entry id).
class OutlookNamespace : public AutomationObject
{
public:
    explicit OutlookNamespace(std::shared_ptr<MailSession> session) : m_session(std::move(session))
    {
    }

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    std::string typeName() const override { return "NameSpace"; }

private:
    std::shared_ptr<MailSession> m_session;
    std::map<int, std::shared_ptr<OutlookFolder>> m_folders;
};

// A default folder: its Items (the same object each time) and Name.
class OutlookFolder : public AutomationObject
{
public:
    OutlookFolder(std::shared_ptr<MailSession> session, int folder);

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    std::string typeName() const override { return "MAPIFolder"; }

private:
    int m_folder;
    std::shared_ptr<AutomationObject> m_items;
};

} // namespace platform::automation::outlook
