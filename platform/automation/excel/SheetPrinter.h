#pragma once

#include "platform/automation/excel/SettingsObject.h"
#include "platform/automation/workbook/Worksheet.h"

class QPrinter;

namespace platform::automation::excel {

// Prints the used area of a sheet on the printer it is given, at the sheet's own sizes: columns
// at their widths, rows at their heights, texts at their point sizes, with their fonts and colours,
// alignment and borders; merged areas as one cell. The page setup's paper, orientation,
// margins, zoom or fit to pages, and the centre header and footer ("&P" the page, "&N" the
// pages) are honoured; columns beyond the page go on further pages. Fills, wrapping, the left
// and right headers and footers and charts are not drawn.
class SheetPrinter
{
public:
    // copies 0 prints nothing.
    static void print(const workbook::Worksheet& sheet, const SettingsObject& pageSetup, int copies,
                      QPrinter& printer);
};

} // namespace platform::automation::excel
