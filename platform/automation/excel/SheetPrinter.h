#pragma once

#include "platform/automation/excel/SettingsObject.h"
#include "platform/automation/workbook/Worksheet.h"

namespace platform::automation::excel {

// Prints the used area of a sheet on the process printer: cell texts in their columns with
// their fonts, alignment and borders, the page setup's orientation, margins and the centre
// header and footer. Merged areas, fills, wrapping and charts are not drawn.
class SheetPrinter
{
public:
    // copies 0 prints nothing.
    static void print(const workbook::Worksheet& sheet, const SettingsObject& pageSetup, int copies);
};

} // namespace platform::automation::excel
