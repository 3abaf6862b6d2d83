#include "platform/automation/outlook/OutlookItems.h"

#include "platform/automation/outlook/MailSession.h"
#include "platform/automation/outlook/OutlookItem.h"

namespace platform::automation::outlook {

AutomationValue OutlookItems::get(std::string_view member, const Arguments& arguments)
{
    if (is(member, "Count")) {
        noArguments(member, arguments);
        return AutomationValue::number(
            static_cast<double>(m_session->store().folderItems(m_folder).size()));
    }
    if (is(member, "Item")) {
        const auto ids = m_session->store().folderItems(m_folder);
        const long long position = given(arguments, 0) ? arguments[0].toInteger() : 0;
        if (position < 1 || position > static_cast<long long>(ids.size()))
            fail("the folder has no item " + std::to_string(position));
        return AutomationValue::object(m_session->item(ids[static_cast<size_t>(position - 1)]));
    }
    if (is(member, "Find")) {
        if (!given(arguments, 0))
            fail("Find needs a filter");
        std::string why;
        m_filter = ItemFilter::parse(arguments[0].toText(), &why);
        if (!m_filter)
            fail(why);
        return findFrom(0);
    }
    if (is(member, "FindNext")) {
        noArguments(member, arguments);
        if (!m_filter)
            fail("FindNext follows a Find");
        return findFrom(m_lastFound);
    }
    unknown(member);
}

AutomationValue OutlookItems::findFrom(int64_t after)
{
    for (const int64_t id : m_session->store().folderItems(m_folder)) {
        if (id <= after)
            continue;
        auto item = m_session->item(id);
        if (item && m_filter->matches(*item)) {
            m_lastFound = id;
            return AutomationValue::object(item);
        }
    }
    m_lastFound = INT64_MAX; // a FindNext after the last match finds nothing again
    return {};
}

} // namespace platform::automation::outlook
