#include "office/ExcelAutomation.h"

#include "platform/automation/AutomationPath.h"
#include "platform/automation/OleContainer.h"

#include <string>

namespace office {

namespace {

// Every text goes into a path as a quoted argument the channel reads back unchanged: a file
// name or sheet name with a quote, a parenthesis or a comma stays one argument.
std::string quoted(std::string_view text)
{
    return platform::automation::AutomationPath::quoted(text);
}

std::string n(long long value)
{
    return std::to_string(value);
}

std::string range(std::string_view reference)
{
    return "Range(" + quoted(reference) + ").";
}

std::string cells(int32_t row, int32_t column)
{
    return "Cells(" + n(row) + "," + n(column) + ").";
}

bool blank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

} // namespace

int32_t ExcelAutomation::GetAlignment() { return GetSelectionHorizontalAlignment(); }
void ExcelAutomation::SetAlignment(uint8_t value) { SetSelectionHorizontalAlignment(value); }

void ExcelAutomation::CreateApplication()
{
    if (platform::automation::OleContainer* ole = container())
        ole->create("Excel.Application");
    SetControlLanguage();
}

// Workbooks and windows.
void ExcelAutomation::AddWorkbook() { CallMethod("Workbooks.Add"); }
void ExcelAutomation::AddWorkbookFromTemplate(std::string_view templateFile)
{
    CallMethod("Workbooks.Add(" + quoted(templateFile) + ")");
}
void ExcelAutomation::OpenWorkbook(std::string_view file)
{
    if (blank(file))
        AddWorkbook();
    else
        CallMethod("Workbooks.Open(" + quoted(file) + ")");
}
void ExcelAutomation::SaveWorkbookAs(std::string_view file)
{
    CallMethod("ActiveWorkbook.SaveAs(" + quoted(file) + ")");
}
void ExcelAutomation::SaveWorkbookAsFormat(std::string_view file, int32_t format,
                                           std::string_view password, std::string_view readOnly,
                                           uint8_t backup)
{
    CallMethod("Application.ActiveWorkbook.SaveAs(" + quoted(file) + "," + n(format) + ","
               + std::string(password) + ",1," + std::string(readOnly) + "," + n(backup) + ",1)");
}
void ExcelAutomation::CloseActiveWindow(uint8_t save) { CallMethod("ActiveWindow.Close(" + n(save) + ")"); }

// Sheets.
void ExcelAutomation::AddSheet(uint8_t count)
{
    for (int i = 1; i <= count; ++i)
        CallMethod("Sheets.Add");
}
void ExcelAutomation::SelectSheet(int16_t sheet) { CallMethod("Sheets(" + n(sheet) + ").Select"); }
void ExcelAutomation::SelectSheetByName(std::string_view name)
{
    CallMethod("Sheets(" + quoted(name) + ").Select");
}
int32_t ExcelAutomation::GetSheetCount() { return numberOf(GetProperty("Sheets.Count")); }
int32_t ExcelAutomation::GetActiveSheetIndex() { return numberOf(GetProperty("ActiveSheet.Index")); }
int32_t ExcelAutomation::GetSheetIndex(std::string_view name)
{
    return numberOf(GetProperty("Sheets(" + quoted(name) + ").Index"));
}
std::string ExcelAutomation::GetActiveSheetName() { return GetProperty("ActiveSheet.Name"); }
std::string ExcelAutomation::GetSheetName(int32_t sheet) { return GetProperty("Sheets(" + n(sheet) + ").Name"); }
void ExcelAutomation::SetSheetName(int16_t sheet, std::string_view name)
{
    SetProperty("Sheets(" + n(sheet) + ").Name", name.substr(0, 31));
}

// Selections.
void ExcelAutomation::SelectRange(std::string_view reference) { setObject(GetProperty(range(reference) + "Select")); }
void ExcelAutomation::SelectCells(int32_t row, int32_t column) { setObject(GetProperty(cells(row, column) + "Select")); }
void ExcelAutomation::SelectColumnRange(std::string_view columns)
{
    setObject(GetProperty("Columns(" + quoted(columns) + ").Select"));
}
void ExcelAutomation::SelectColumn(int32_t column) { setObject(GetProperty("Columns(" + n(column) + ").Select")); }
void ExcelAutomation::SelectRow(int32_t row) { setObject(GetProperty("Rows(" + n(row) + ").Select")); }

// Values and formulas.
void ExcelAutomation::SetActiveCellFormula(std::string_view text) { SetProperty("ActiveCell.FormulaR1C1", text); }
void ExcelAutomation::SetRangeFormula(std::string_view reference, std::string_view text)
{
    SelectRange(reference);
    SetActiveCellFormula(text);
}
void ExcelAutomation::SetCellsFormula(int32_t row, int32_t column, std::string_view text)
{
    SelectCells(row, column);
    SetActiveCellFormula(text);
}
std::string ExcelAutomation::GetActiveCellValue() { return GetProperty("ActiveCell.Value"); }
std::string ExcelAutomation::GetRangeValue(std::string_view reference)
{
    SelectRange(reference);
    return GetActiveCellValue();
}
std::string ExcelAutomation::GetCellsValue(int32_t row, int32_t column)
{
    SelectCells(row, column);
    return GetActiveCellValue();
}
void ExcelAutomation::GotoAndReplace(std::string_view sought, std::string_view replacement,
                                     uint8_t matchCase, uint8_t mode)
{
    if (mode == 1) {
        CallMethod("Application.Goto(" + quoted(sought) + ")");
        SetActiveCellFormula(replacement);
    } else {
        CallMethod("Cells.Replace(" + quoted(sought) + "," + quoted(replacement) + ",1,1," + n(matchCase) + ")");
    }
}

// Alignment, wrap text, number format, merging.
int32_t ExcelAutomation::GetSelectionHorizontalAlignment()
{
    return numberOf(GetProperty("Selection.HorizontalAlignment"));
}
uint8_t ExcelAutomation::GetRangeHorizontalAlignment(std::string_view reference)
{
    return static_cast<uint8_t>(numberOf(GetProperty(range(reference) + "HorizontalAlignment")));
}
int32_t ExcelAutomation::GetCellsHorizontalAlignment(int32_t row, int32_t column)
{
    return numberOf(GetProperty(cells(row, column) + "HorizontalAlignment"));
}
void ExcelAutomation::SetSelectionHorizontalAlignment(uint8_t value)
{
    SetProperty("Selection.HorizontalAlignment", n(value));
}
void ExcelAutomation::SetRangeHorizontalAlignment(std::string_view reference, uint8_t value)
{
    SetProperty(range(reference) + "HorizontalAlignment", n(value));
}
void ExcelAutomation::SetCellsHorizontalAlignment(int32_t row, int32_t column, uint8_t value)
{
    SetProperty(cells(row, column) + "HorizontalAlignment", n(value));
}
uint8_t ExcelAutomation::GetRangeAlignment(std::string_view reference) { return GetRangeHorizontalAlignment(reference); }
int32_t ExcelAutomation::GetCellsAlignment(int32_t row, int32_t column) { return GetCellsHorizontalAlignment(row, column); }
void ExcelAutomation::SetRangeAlignment(std::string_view reference, uint8_t value)
{
    SetRangeHorizontalAlignment(reference, value);
}
void ExcelAutomation::SetCellsAlignment(int32_t row, int32_t column, uint8_t value)
{
    SetCellsHorizontalAlignment(row, column, value);
}
int32_t ExcelAutomation::GetSelectionVerticalAlignment() { return numberOf(GetProperty("Selection.VerticalAlignment")); }
uint8_t ExcelAutomation::GetRangeVerticalAlignment(std::string_view reference)
{
    return static_cast<uint8_t>(numberOf(GetProperty(range(reference) + "VerticalAlignment")));
}
int32_t ExcelAutomation::GetCellsVerticalAlignment(int32_t row, int32_t column)
{
    return numberOf(GetProperty(cells(row, column) + "VerticalAlignment"));
}
void ExcelAutomation::SetSelectionVerticalAlignment(uint8_t value) { SetProperty("Selection.VerticalAlignment", n(value)); }
void ExcelAutomation::SetRangeVerticalAlignment(std::string_view reference, uint8_t value)
{
    SetProperty(range(reference) + "VerticalAlignment", n(value));
}
void ExcelAutomation::SetCellsVerticalAlignment(int32_t row, int32_t column, uint8_t value)
{
    SetProperty(cells(row, column) + "VerticalAlignment", n(value));
}
int32_t ExcelAutomation::GetSelectionWrapText() { return numberOf(GetProperty("Selection.WrapText")); }
uint8_t ExcelAutomation::GetRangeWrapText(std::string_view reference)
{
    return static_cast<uint8_t>(numberOf(GetProperty(range(reference) + "WrapText")));
}
int32_t ExcelAutomation::GetCellsWrapText(int32_t row, int32_t column)
{
    return numberOf(GetProperty(cells(row, column) + "WrapText"));
}
void ExcelAutomation::SetSelectionWrapText(uint8_t flag) { SetProperty("Selection.WrapText", n(flag)); }
void ExcelAutomation::SetRangeWrapText(std::string_view reference, uint8_t flag)
{
    SetProperty(range(reference) + "WrapText", n(flag));
}
void ExcelAutomation::SetCellsWrapText(int32_t row, int32_t column, uint8_t flag)
{
    SetProperty(cells(row, column) + "WrapText", n(flag));
}
void ExcelAutomation::SetSelectionNumberFormat(std::string_view format) { SetProperty("Selection.NumberFormat", format); }
void ExcelAutomation::SetRangeNumberFormat(std::string_view reference, std::string_view format)
{
    SetProperty(range(reference) + "NumberFormat", format);
}
void ExcelAutomation::SetCellsNumberFormat(int32_t row, int32_t column, std::string_view format)
{
    SetProperty(cells(row, column) + "NumberFormat", format);
}
void ExcelAutomation::SetSelectionMergeCells(uint8_t flag) { SetProperty("Selection.MergeCells", n(flag)); }
void ExcelAutomation::MergeSelection() { SetSelectionMergeCells(1); }
void ExcelAutomation::SetRangeMergeCells(std::string_view reference) { SetProperty(range(reference) + "MergeCells", "1"); }

// Column widths and row heights.
int32_t ExcelAutomation::GetSelectionColumnWidth() { return numberOf(GetProperty("Selection.Columns.ColumnWidth")); }
int32_t ExcelAutomation::GetColumnRangeWidth(std::string_view columns)
{
    return numberOf(GetProperty("Columns(" + quoted(columns) + ").ColumnWidth"));
}
int32_t ExcelAutomation::GetColumnWidth(int32_t column) { return numberOf(GetProperty("Columns(" + n(column) + ").ColumnWidth")); }
void ExcelAutomation::SetSelectionColumnWidth(int32_t width) { SetProperty("Selection.Columns.ColumnWidth", n(width)); }
void ExcelAutomation::SetColumnRangeWidth(std::string_view columns, int32_t width)
{
    SetProperty("Columns(" + quoted(columns) + ").ColumnWidth", n(width));
}
void ExcelAutomation::SetColumnWidth(int32_t column, int32_t width)
{
    SetProperty("Columns(" + n(column) + ").ColumnWidth", n(width));
}
int32_t ExcelAutomation::GetSelectionRowHeight() { return numberOf(GetProperty("Selection.Rows.RowHeight")); }
int32_t ExcelAutomation::GetRowHeight(int32_t row) { return numberOf(GetProperty("Rows(" + n(row) + ").RowHeight")); }
void ExcelAutomation::SetSelectionRowHeight(int32_t height) { SetProperty("Selection.Rows.RowHeight", n(height)); }
void ExcelAutomation::SetRowHeight(int32_t row, int32_t height) { SetProperty("Rows(" + n(row) + ").RowHeight", n(height)); }

// Paste, insert, automatic layout.
void ExcelAutomation::PasteSheet(std::string_view text)
{
    // The clipboard carries the text to the server; what the user had there is not kept.
    platform::automation::OleContainer::setClipboardText(blank(text) ? std::string_view() : text);
    CallMethod("ActiveSheet.Paste");
    platform::automation::OleContainer::setClipboardText({});
}
void ExcelAutomation::PasteToRange(std::string_view reference, std::string_view text)
{
    SelectRange(reference);
    PasteSheet(text);
}
void ExcelAutomation::PasteToCells(int32_t row, int32_t column, std::string_view text)
{
    SelectCells(row, column);
    PasteSheet(text);
}
void ExcelAutomation::InsertColumnRange(std::string_view columns)
{
    SelectColumnRange(columns);
    CallMethod("Selection.Insert(-4161)");
}
void ExcelAutomation::InsertColumn(int32_t column)
{
    SelectColumn(column);
    CallMethod("Selection.Insert(-4161)");
}
void ExcelAutomation::InsertRow(int32_t row)
{
    SelectRow(row);
    CallMethod("Selection.Insert(-4121)");
}
void ExcelAutomation::AutoFitSelectionColumns() { CallMethod("Selection.Columns.AutoFit"); }
void ExcelAutomation::AutoFitColumnRange(std::string_view columns) { CallMethod("Columns(" + quoted(columns) + ").AutoFit"); }
void ExcelAutomation::AutoFitColumn(int32_t column) { CallMethod("Columns(" + n(column) + ").AutoFit"); }
void ExcelAutomation::AutoFitSelectionRows() { CallMethod("Selection.Rows.AutoFit"); }
void ExcelAutomation::AutoFitRow(int32_t row) { CallMethod("Rows(" + n(row) + ").AutoFit"); }
void ExcelAutomation::AutoFilterSelection() { CallMethod("Selection.AutoFilter"); }
void ExcelAutomation::AutoFilterRange(std::string_view reference) { CallMethod(range(reference) + "AutoFilter"); }
void ExcelAutomation::AutoFormatSelection(uint8_t format)
{
    CallMethod("Selection.AutoFormat(" + n(format) + ",1,1,1,1,1,1)");
}
void ExcelAutomation::AutoFormatRange(std::string_view reference, uint8_t format)
{
    SelectRange(reference);
    AutoFormatSelection(format);
}
std::string ExcelAutomation::GetInternational(int16_t index)
{
    return GetProperty("Application.International(" + n(index) + ")");
}

// Charts.
void ExcelAutomation::AddChart(int16_t chartType, uint8_t location, std::string_view sheetName)
{
    CallMethod("Charts.Add");
    SetProperty("ActiveChart.ChartType", n(chartType));
    CallMethod("ActiveChart.Location(" + n(location) + ", " + quoted(sheetName) + ")");
}

// The pattern colour and pattern belong to the area's interior: a border has neither.
void ExcelAutomation::formatChartPart(std::string_view select, int16_t borderColour,
                                      int16_t borderWeight, int16_t borderLineStyle,
                                      int16_t interiorColour, int16_t patternColour, int16_t pattern)
{
    CallMethod(select);
    SetProperty("Selection.Border.ColorIndex", n(borderColour));
    SetProperty("Selection.Border.Weight", n(borderWeight));
    SetProperty("Selection.Border.LineStyle", n(borderLineStyle));
    SetProperty("Selection.Interior.ColorIndex", n(interiorColour));
    SetProperty("Selection.Interior.PatternColorIndex", n(patternColour));
    SetProperty("Selection.Interior.Pattern", n(pattern));
}
void ExcelAutomation::FormatChartPlotArea(int16_t borderColour, int16_t borderWeight,
                                          int16_t borderLineStyle, int16_t interiorColour,
                                          int16_t patternColour, int16_t pattern)
{
    formatChartPart("ActiveChart.PlotArea.Select", borderColour, borderWeight, borderLineStyle,
                    interiorColour, patternColour, pattern);
}
void ExcelAutomation::FormatChartArea(int16_t borderColour, int16_t borderWeight,
                                      int16_t borderLineStyle, int16_t interiorColour,
                                      int16_t patternColour, int16_t pattern)
{
    formatChartPart("ActiveChart.ChartArea.Select", borderColour, borderWeight, borderLineStyle,
                    interiorColour, patternColour, pattern);
}
void ExcelAutomation::SetChartLegendPosition(int16_t position)
{
    CallMethod("ActiveChart.Legend.Select");
    SetProperty("Selection.Position", n(position));
}
void ExcelAutomation::SetChartSeriesAxisGroup(int16_t series, int16_t axisGroup)
{
    SetProperty("ActiveChart.SeriesCollection(" + n(series) + ").AxisGroup", n(axisGroup));
}
void ExcelAutomation::SetChartTitle(std::string_view title)
{
    CallMethod("ActiveChart.ChartArea.Select");
    SetProperty("ActiveChart.HasTitle", "1");
    SetProperty("ActiveChart.ChartTitle.Characters.Text", title);
}
void ExcelAutomation::setAxisTitle(int axis, std::string_view title)
{
    const std::string path = "ActiveChart.Axes(" + n(axis) + ",1).";
    CallMethod("ActiveChart.ChartArea.Select");
    SetProperty(path + "HasTitle", "1");
    SetProperty(path + "AxisTitle.Characters.Text", title);
}
void ExcelAutomation::SetChartAxis1Title(std::string_view title) { setAxisTitle(1, title); }
void ExcelAutomation::SetChartAxis2Title(std::string_view title) { setAxisTitle(2, title); }
void ExcelAutomation::SetChartAxis3Title(std::string_view title) { setAxisTitle(3, title); }
void ExcelAutomation::SetChartGridlines(uint8_t axis, uint8_t major, uint8_t minor)
{
    CallMethod("ActiveChart.PlotArea.Select");
    SetProperty("ActiveChart.Axes(" + n(axis) + ").HasMajorGridlines", n(major));
    SetProperty("ActiveChart.Axes(" + n(axis) + ").HasMinorGridlines", n(minor));
}
void ExcelAutomation::ApplyChartDataLabels(uint8_t labelType)
{
    CallMethod("ActiveChart.ApplyDataLabels(" + n(labelType) + ")");
}
void ExcelAutomation::SetChartDataTable(uint8_t flag)
{
    const std::string value = flag ? "1" : "0";
    SetProperty("ActiveChart.HasDataTable", value);
    SetProperty("ActiveChart.DataTable.ShowLegendKey", value);
}
int32_t ExcelAutomation::GetChartSeriesCount() { return numberOf(GetProperty("ActiveChart.SeriesCollection.Count")); }

// Page setup and printing. The margins and paper go to the active sheet's page setup, where the
// headers and footers go too.
void ExcelAutomation::SetPageHeadersFooters(std::string_view leftHeader, std::string_view centerHeader,
                                            std::string_view rightHeader, std::string_view leftFooter,
                                            std::string_view centerFooter, std::string_view rightFooter)
{
    SetProperty("ActiveSheet.PageSetup.LeftHeader", leftHeader);
    SetProperty("ActiveSheet.PageSetup.CenterHeader", centerHeader);
    SetProperty("ActiveSheet.PageSetup.RightHeader", rightHeader);
    SetProperty("ActiveSheet.PageSetup.LeftFooter", leftFooter);
    SetProperty("ActiveSheet.PageSetup.CenterFooter", centerFooter);
    SetProperty("ActiveSheet.PageSetup.RightFooter", rightFooter);
}
void ExcelAutomation::SetPageMargins(int16_t top, int16_t bottom, int16_t left, int16_t right)
{
    const std::pair<int16_t, const char*> margins[] = {
        {top, "TopMargin"}, {bottom, "BottomMargin"}, {left, "LeftMargin"}, {right, "RightMargin"}};
    for (const auto& [centimetres, margin] : margins) {
        const std::string points = GetProperty("CentimetersToPoints(" + n(centimetres) + ")");
        SetProperty(std::string("ActiveSheet.PageSetup.") + margin, points);
    }
}
void ExcelAutomation::SetPaperSizeAndOrientation(uint8_t paperSize, uint8_t orientation)
{
    SetProperty("ActiveSheet.PageSetup.PaperSize", n(paperSize));
    SetProperty("ActiveSheet.PageSetup.Orientation", n(orientation));
}
void ExcelAutomation::PrintActiveSheet(uint8_t copies)
{
    CallMethod("ActiveSheet.PrintOut(,," + n(copies) + ",,,,,)");
}

} // namespace office
