#pragma once

#include "platform/automation/AutomationObject.h"
#include "platform/automation/workbook/CellFormat.h"
#include "platform/automation/workbook/CellRange.h"
#include "platform/automation/workbook/Worksheet.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace platform::automation::excel {

class ExcelWorkbook;

// A range of cells of one sheet in A1 notation: values, formulas, formats, widths and heights,
// selection, and the editing commands. Rows and Columns ranges are whole rows or columns (or
// the rows or columns of a range) for the commands that care.
class ExcelRange : public AutomationObject
{
public:
    enum class Shape { Cells, Rows, Columns };
    // Formats given to a range larger than this go to the cells that exist in it only, so that
    // formatting a whole column does not make a million cells.
    static constexpr long long kMaxFilledCells = 200000;

    ExcelRange(std::shared_ptr<ExcelWorkbook> book, workbook::Worksheet* sheet,
               workbook::CellRange range, Shape shape = Shape::Cells);

    // "B12", "A1:G1", "$A$1", "A:C" (whole columns), "3:5" (whole rows).
    static std::optional<std::pair<workbook::CellRange, Shape>> parseReference(const QString& text);

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return "Range"; }

    const workbook::CellRange& range() const { return m_range; }
    Shape shape() const { return m_shape; }
    workbook::Worksheet& sheet() const { return *m_sheet; }
    ExcelWorkbook& book() const { return *m_book; }

    // Calls apply for every cell the range formats (see kMaxFilledCells), with its row and column.
    void forEachCell(const std::function<void(int row, int column, workbook::Cell& cell)>& apply);
    // The format of the top-left cell (the default format when it does not exist).
    workbook::CellFormat formatAt() const;

private:
    void select();
    AutomationValue valueAt(bool formula) const;
    void setEntry(const AutomationValue& value);
    std::shared_ptr<ExcelRange> part(const workbook::CellRange& range, Shape shape) const;
    AutomationValue subRange(bool columns, const Arguments& arguments) const;

    std::shared_ptr<ExcelWorkbook> m_book;
    workbook::Worksheet* m_sheet;
    workbook::CellRange m_range;
    Shape m_shape;
};

} // namespace platform::automation::excel
