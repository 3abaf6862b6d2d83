#include "platform/automation/ReferenceTable.h"

namespace platform::automation {

std::string ReferenceTable::add(const std::shared_ptr<AutomationObject>& object)
{
    const auto known = m_numbers.find(object.get());
    if (known != m_numbers.end())
        return "`" + std::to_string(known->second);
    const int number = m_next++;
    m_objects.emplace(number, object);
    m_numbers.emplace(object.get(), number);
    return "`" + std::to_string(number);
}

std::shared_ptr<AutomationObject> ReferenceTable::find(int number) const
{
    const auto it = m_objects.find(number);
    return it == m_objects.end() ? nullptr : it->second;
}

void ReferenceTable::clear()
{
    m_objects.clear();
    m_numbers.clear();
}

} // namespace platform::automation
