#include "platform/automation/outlook/OutlookAttachments.h"

#include "platform/automation/outlook/OutlookItem.h"

namespace platform::automation::outlook {

AutomationValue OutlookAttachments::get(std::string_view member, const Arguments& arguments)
{
    if (is(member, "Add")) {
        if (!given(arguments, 0))
            fail("Add needs a file name");
        m_item->addAttachment(arguments[0].toText());
        return AutomationValue::number(static_cast<double>(m_item->stored().attachments.size()));
    }
    if (is(member, "Count")) {
        noArguments(member, arguments);
        return AutomationValue::number(static_cast<double>(m_item->stored().attachments.size()));
    }
    unknown(member);
}

} // namespace platform::automation::outlook
