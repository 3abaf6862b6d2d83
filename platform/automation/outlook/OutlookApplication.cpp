#include "platform/automation/outlook/OutlookApplication.h"

#include "platform/automation/outlook/MailSession.h"
#include "platform/automation/outlook/OutlookItem.h"
#include "platform/automation/outlook/OutlookNamespace.h"

#include <QString>

namespace platform::automation::outlook {

OutlookApplication::OutlookApplication(std::string storePath)
    : m_session(std::make_shared<MailSession>(std::move(storePath))),
      m_namespace(std::make_shared<OutlookNamespace>(m_session))
{
}

AutomationValue OutlookApplication::get(std::string_view member, const Arguments& arguments)
{
    if (is(member, "GetNameSpace") || is(member, "Session")) {
        if (is(member, "GetNameSpace") &&
            (!given(arguments, 0) ||
             QString::fromStdString(arguments[0].toText())
                     .compare(QStringLiteral("MAPI"), Qt::CaseInsensitive) != 0))
            fail("the only namespace is MAPI");
        m_session->store(); // a store that cannot be opened fails here, not at the first item
        return AutomationValue::object(m_namespace);
    }
    if (is(member, "CreateItem")) {
        const long long kind = given(arguments, 0) ? arguments[0].toInteger() : -1;
        if (kind < 0 || kind > 6)
            fail("there is no item kind " + std::to_string(kind));
        return AutomationValue::object(m_session->newItem(static_cast<int>(kind)));
    }
    noArguments(member, arguments);
    if (is(member, "Application"))
        return AutomationValue::object(shared_from_this());
    if (is(member, "Version"))
        return AutomationValue::text("11.0");
    if (is(member, "Name"))
        return AutomationValue::text("Outlook");
    if (is(member, "Visible"))
        return AutomationValue::boolean(m_visible);
    if (is(member, "Activate") || is(member, "Quit"))
        return AutomationValue::boolean(true);
    unknown(member);
}

void OutlookApplication::set(std::string_view member, const Arguments& arguments,
                             const AutomationValue& value)
{
    noArguments(member, arguments);
    if (is(member, "Visible")) {
        m_visible = value.toBoolean();
        return;
    }
    AutomationObject::set(member, arguments, value);
}

} // namespace platform::automation::outlook
