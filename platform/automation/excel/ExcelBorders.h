#pragma once

#include "platform/automation/AutomationObject.h"

#include <memory>

namespace platform::automation::excel {

class ExcelRange;

// The borders of a range: all of them (edge 0) or one edge (xlEdgeLeft 7 .. xlInsideHorizontal
// 12; the diagonals 5 and 6 are taken and not kept). Setting a weight or colour on an edge
// without a line draws it continuous, as the spreadsheet does.
class ExcelBorders : public AutomationObject
{
public:
    ExcelBorders(std::shared_ptr<ExcelRange> range, int edge);

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return "Borders"; }

private:
    std::shared_ptr<ExcelRange> m_range;
    int m_edge;
};

} // namespace platform::automation::excel
