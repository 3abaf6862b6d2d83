#include "fuzz/support/WorkbookWalk.h"

#include "fuzz/support/FuzzCheck.h"
#include "platform/automation/workbook/Workbook.h"

#include <cmath>

namespace fuzzsupport {

using namespace platform::automation::workbook;

namespace {

bool insideSheet(int row, int column)
{
    return row >= 1 && row <= CellRange::kMaxRows && column >= 1 &&
           column <= CellRange::kMaxColumns;
}

} // namespace

void walkWorkbook(const Workbook& workbook)
{
    require(workbook.sheetCount() > 0, "a workbook read has a sheet");
    const int active = workbook.activeSheetIndex();
    require(active >= 0 && active < workbook.sheetCount(), "the active sheet is one of them");
    for (int index = 0; index < workbook.sheetCount(); ++index) {
        const Worksheet& sheet = workbook.sheet(index);
        require(workbook.indexOf(sheet.name()) >= 0, "a sheet is found by its name");
        for (const auto& [key, cell] : sheet.cells()) {
            require(insideSheet(key.first, key.second), "a cell lies inside the sheet");
            (void)cell.value.toText();
        }
        if (const std::optional<CellRange> used = sheet.usedRange())
            (void)sheet.value(used->lastRow, used->lastColumn);
        for (const CellRange& area : sheet.merges().areas()) {
            require(insideSheet(area.firstRow, area.firstColumn) &&
                        insideSheet(area.lastRow, area.lastColumn),
                    "a merged area lies inside the sheet");
            const std::optional<CellRange> found =
                sheet.merges().areaAt(area.firstRow, area.firstColumn);
            require(found && *found == area, "a merged area is found at its corner");
        }
        for (const auto& [column, width] : sheet.columnWidths())
            require(std::isfinite(width) && width >= 0, "a column width is a width");
        for (const auto& [row, height] : sheet.rowHeights())
            require(std::isfinite(height) && height >= 0, "a row height is a height");
    }
}

} // namespace fuzzsupport
