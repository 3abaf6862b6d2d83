#pragma once

#include "platform/automation/AutomationObject.h"
#include "platform/automation/outlook/ItemFilter.h"

#include <optional>

namespace platform::automation::outlook {

class MailSession;

// The items of one folder, in the order they were first saved: Count, Item(n) from 1,
// Find(filter) and FindNext() (the next match after the last one found). A search that finds
// nothing answers no object.
class OutlookItems : public AutomationObject
{
public:
    OutlookItems(std::shared_ptr<MailSession> session, int folder)
        : m_session(std::move(session)), m_folder(folder)
    {
    }

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    std::string typeName() const override { return "Items"; }

private:
    AutomationValue findFrom(int64_t after);

    std::shared_ptr<MailSession> m_session;
    int m_folder;
    std::optional<ItemFilter> m_filter;
    int64_t m_lastFound = 0;
};

} // namespace platform::automation::outlook
