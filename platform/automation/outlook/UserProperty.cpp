#include "platform/automation/outlook/UserProperty.h"

#include "platform/automation/outlook/OutlookItem.h"

namespace platform::automation::outlook {

AutomationValue UserProperty::get(std::string_view member, const Arguments& arguments)
{
    noArguments(member, arguments);
    if (is(member, "Value"))
        return AutomationValue::text(m_item->userProperty(m_name));
    if (is(member, "Name"))
        return AutomationValue::text(m_name);
    unknown(member);
}

void UserProperty::set(std::string_view member, const Arguments& arguments,
                       const AutomationValue& value)
{
    noArguments(member, arguments);
    if (!is(member, "Value"))
        AutomationObject::set(member, arguments, value);
    if (m_name.empty())
        fail("a user property needs a name");
    m_item->setUserProperty(m_name, value.toText());
}

} // namespace platform::automation::outlook
