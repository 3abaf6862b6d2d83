#pragma once

#include "platform/automation/AutomationObject.h"

namespace platform::automation::outlook {

class OutlookItem;

// The attachments of an item: Add(path) copies the file into the item; Count.
class OutlookAttachments : public AutomationObject
{
public:
    explicit OutlookAttachments(std::shared_ptr<OutlookItem> item) : m_item(std::move(item)) {}

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    std::string typeName() const override { return "Attachments"; }

private:
    std::shared_ptr<OutlookItem> m_item;
};

} // namespace platform::automation::outlook
