#pragma once

#include "platform/automation/AutomationObject.h"

namespace platform::automation::outlook {

class OutlookItem;

// One named user property of an item: Name and Value (a text; an unknown name reads empty and
// is made by its first write).
class UserProperty : public AutomationObject
{
public:
    UserProperty(std::shared_ptr<OutlookItem> item, std::string name)
        : m_item(std::move(item)), m_name(std::move(name))
    {
    }

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return "UserProperty"; }

private:
    std::shared_ptr<OutlookItem> m_item;
    std::string m_name;
};

} // namespace platform::automation::outlook
