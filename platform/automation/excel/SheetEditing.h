#pragma once

#include "platform/automation/excel/ExcelRange.h"

#include <QString>

namespace platform::automation::excel {

class ExcelApplication;
class ExcelWorkbook;

// The editing commands of a sheet that move or measure many cells: copy and paste, insert,
// automatic widths and heights, the table look, replace.
class SheetEditing
{
public:
    // Puts the cells on the clipboard (as tab-separated text) and keeps them for a paste.
    static void copy(ExcelApplication& application, ExcelWorkbook& book, workbook::Worksheet& sheet,
                     const workbook::CellRange& range, bool cut);
    // Pastes at the top-left corner of `at`: the cells copied last while the clipboard still
    // holds their text, otherwise the clipboard's text, tab-separated columns and one line a
    // row. The pasted area becomes the selection.
    static void paste(ExcelApplication& application, ExcelWorkbook& book, workbook::Worksheet& sheet,
                      const workbook::CellRange& at);
    // shift: -4121 down, -4161 to the right; Rows and Columns ranges insert whole rows/columns.
    static void insert(ExcelWorkbook& book, workbook::Worksheet& sheet, const workbook::CellRange& range,
                       ExcelRange::Shape shape, int shift);
    static void autoFit(workbook::Worksheet& sheet, const workbook::CellRange& range, bool columns);
    // A plain table look, whatever format number is asked for: bold first row, thin borders,
    // fitted columns.
    static void autoFormat(ExcelRange& range);
    // Replaces in texts and numbers of the cells of the range; whole: only whole-cell matches.
    static int replace(workbook::Worksheet& sheet, const workbook::CellRange& range,
                       const QString& sought, const QString& replacement, bool whole, bool matchCase);
    // The height a row gets from its largest font, in points.
    static double fontHeight(const workbook::Worksheet& sheet, int row);
    // The text a cell shows (numbers in the "0.00" format with two decimals).
    static QString shownText(const workbook::Cell& cell);
};

} // namespace platform::automation::excel
