#pragma once

#include "platform/automation/AutomationObject.h"

#include <memory>

namespace platform::automation::excel {

class ExcelRange;

// The font of a range: read from its top-left cell, written to every cell.
class ExcelFont : public AutomationObject
{
public:
    explicit ExcelFont(std::shared_ptr<ExcelRange> range);

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return "Font"; }

private:
    std::shared_ptr<ExcelRange> m_range;
};

} // namespace platform::automation::excel
