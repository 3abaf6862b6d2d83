#pragma once

namespace platform::automation::workbook {

// Column widths as the spreadsheet shows them (characters of the default font's digit) and as
// both file formats store them: with the cell padding added and rounded to whole pixels of a
// 7-pixel digit and 5 pixels of padding. 10 shown is 10.7109375 stored.
class ColumnWidthUnits
{
public:
    static double toFileWidth(double width);
    static double fromFileWidth(double fileWidth); // rounded to two decimals, as shown
};

} // namespace platform::automation::workbook
