#pragma once

#include "platform/automation/excel/SettingsObject.h"
#include "platform/automation/workbook/CellRange.h"

#include <memory>
#include <optional>

namespace platform::automation::excel {

// What the server keeps of a sheet beside its cells: the selection and active cell, the page
// setup and the filtered area. Not saved to the files.
struct SheetState
{
    workbook::CellRange selection = workbook::CellRange::cell(1, 1);
    int activeRow = 1;
    int activeColumn = 1;
    std::shared_ptr<SettingsObject> pageSetup;
    std::optional<workbook::CellRange> autoFilter;
};

} // namespace platform::automation::excel
