#include "platform/automation/excel/ExcelCollection.h"

namespace platform::automation::excel {

ExcelCollection::ExcelCollection(std::string typeName, Count count, Item item, Other other)
    : m_typeName(std::move(typeName)),
      m_count(std::move(count)),
      m_item(std::move(item)),
      m_other(std::move(other))
{
}

AutomationValue ExcelCollection::get(std::string_view member, const Arguments& arguments)
{
    if (is(member, "Count")) {
        noArguments(member, arguments);
        return AutomationValue::number(m_count());
    }
    if (is(member, "Item"))
        return m_item(arguments);
    if (m_other) {
        if (auto answer = m_other(member, arguments))
            return *answer;
    }
    unknown(member);
}

} // namespace platform::automation::excel
