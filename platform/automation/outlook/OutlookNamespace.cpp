#include "platform/automation/outlook/OutlookNamespace.h"

#include "platform/automation/outlook/ItemProperties.h"
#include "platform/automation/outlook/MailSession.h"
#include "platform/automation/outlook/OutlookItem.h"
#include "platform/automation/outlook/OutlookItems.h"
#include "platform/text/Cp1251.h"

namespace platform::automation::outlook {

AutomationValue OutlookNamespace::get(std::string_view member, const Arguments& arguments)
{
    if (is(member, "GetDefaultFolder")) {
        const long long number = given(arguments, 0) ? arguments[0].toInteger() : 0;
        if (!Folder::known(static_cast<int>(number)))
            fail("there is no default folder " + std::to_string(number));
        auto& folder = m_folders[static_cast<int>(number)];
        if (!folder)
            folder = std::make_shared<OutlookFolder>(m_session, static_cast<int>(number));
        return AutomationValue::object(folder);
    }
    if (is(member, "GetItemFromID")) {
        if (!given(arguments, 0))
            fail("GetItemFromID needs an entry id");
        const std::string id = arguments[0].toText();
        auto item = m_session->itemWithEntryId(id);
        if (!item)
            fail("no item has the entry id " + id);
        return AutomationValue::object(item);
    }
    unknown(member);
}

OutlookFolder::OutlookFolder(std::shared_ptr<MailSession> session, int folder)
    : m_folder(folder), m_items(std::make_shared<OutlookItems>(std::move(session), folder))
{
}

AutomationValue OutlookFolder::get(std::string_view member, const Arguments& arguments)
{
    noArguments(member, arguments);
    if (is(member, "Items"))
        return AutomationValue::object(m_items);
    if (is(member, "Name")) {
        static const std::map<int, const char*> names{
            {Folder::Outbox, "Исходящие"},  {Folder::SentMail, "Отправленные"},
            {Folder::Inbox, "Входящие"},    {Folder::Calendar, "Календарь"},
            {Folder::Contacts, "Контакты"}, {Folder::Journal, "Дневник"},
            {Folder::Notes, "Заметки"},     {Folder::Tasks, "Задачи"},
            {Folder::Drafts, "Черновики"}};
        return AutomationValue::text(platform::text::w(names.at(m_folder)));
    }
    unknown(member);
}

} // namespace platform::automation::outlook
