#pragma once

#include "platform/automation/workbook/CellFormat.h"
#include "platform/automation/workbook/CellValue.h"

#include <QString>

namespace platform::automation::workbook {

struct Cell
{
    CellValue value; // for a formula: its last known result
    QString formula; // "=..." as entered; empty for a constant
    CellFormat format;
};

} // namespace platform::automation::workbook
