#pragma once

#include "platform/automation/AutomationObject.h"

#include <map>
#include <memory>
#include <string>

namespace platform::automation {

// Objects answered to a read, kept under a number so that a later path can begin with their
// reference text ("`12"). The same object keeps its number; the table is emptied when the
// container lets its application go.
class ReferenceTable
{
public:
    std::string add(const std::shared_ptr<AutomationObject>& object); // "`<n>"
    std::shared_ptr<AutomationObject> find(int number) const;          // nullptr when unknown
    void clear();
    size_t size() const { return m_objects.size(); }

private:
    std::map<int, std::shared_ptr<AutomationObject>> m_objects;
    std::map<const AutomationObject*, int> m_numbers;
    int m_next = 1;
};

} // namespace platform::automation
