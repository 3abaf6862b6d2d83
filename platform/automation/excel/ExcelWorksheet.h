#pragma once

#include "platform/automation/AutomationObject.h"
#include "platform/automation/workbook/Worksheet.h"

#include <memory>

namespace platform::automation::excel {

class ExcelWorkbook;

// One sheet of an open workbook: its name and place, its ranges, paste, page setup and
// printing.
class ExcelWorksheet : public AutomationObject
{
public:
    ExcelWorksheet(std::shared_ptr<ExcelWorkbook> book, workbook::Worksheet* sheet);

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return "Worksheet"; }

private:
    int index() const; // from 0
    void activate();
    AutomationValue rangeOf(std::string_view member, const Arguments& arguments);

    std::shared_ptr<ExcelWorkbook> m_book;
    workbook::Worksheet* m_sheet;
};

} // namespace platform::automation::excel
