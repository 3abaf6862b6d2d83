#pragma once

#include "platform/automation/AutomationObject.h"

#include <memory>

namespace platform::automation::excel {

class ExcelRange;

// The fill of a range: a solid colour from the palette, or none.
class ExcelInterior : public AutomationObject
{
public:
    explicit ExcelInterior(std::shared_ptr<ExcelRange> range);

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return "Interior"; }

private:
    std::shared_ptr<ExcelRange> m_range;
};

} // namespace platform::automation::excel
