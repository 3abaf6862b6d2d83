#pragma once

#include "platform/automation/AutomationObject.h"

#include <functional>
#include <optional>

namespace platform::automation::excel {

// A collection of the object model (Workbooks, Sheets, Windows, Charts): Count, Item(n) and the
// collection's own methods, each supplied by its owner.
class ExcelCollection : public AutomationObject
{
public:
    using Count = std::function<int()>;
    using Item = std::function<AutomationValue(const Arguments& arguments)>;
    // Nothing for a member the collection does not have.
    using Other = std::function<std::optional<AutomationValue>(std::string_view member,
                                                               const Arguments& arguments)>;

    ExcelCollection(std::string typeName, Count count, Item item, Other other = {});

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    std::string typeName() const override { return m_typeName; }

private:
    std::string m_typeName;
    Count m_count;
    Item m_item;
    Other m_other;
};

} // namespace platform::automation::excel
