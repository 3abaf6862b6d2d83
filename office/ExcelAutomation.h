#pragma once

#include "office/OfficeAutomation.h"

namespace office {

// Drives the spreadsheet server "Excel.Application": workbooks, sheets, selections, values and
// formulas, cell formats, widths and heights, paste, layout commands, charts, page setup and
// printing. Ranges are A1 references sent between double quotes, unescaped; a BYTE value goes
// into the text as 0 to 255. Every path carries the prefix.
class ExcelAutomation : public OfficeAutomation
{
public:
    int32_t GetAlignment() override;
    void SetAlignment(uint8_t value) override;
    void CreateApplication() override;

    virtual void AutoFilterSelection();
    virtual void AutoFilterRange(std::string_view range);
    virtual void AddSheet(uint8_t count);
    virtual void SetActiveCellFormula(std::string_view text);
    virtual void SetRangeFormula(std::string_view range, std::string_view text);
    virtual void SetCellsFormula(int32_t row, int32_t column, std::string_view text);
    virtual void AutoFitSelectionColumns();
    virtual void AutoFitColumnRange(std::string_view columns);
    virtual void AutoFitColumn(int32_t column);
    virtual void AutoFitSelectionRows();
    virtual void AutoFitRow(int32_t row);
    virtual void AutoFormatSelection(uint8_t format);
    virtual void AutoFormatRange(std::string_view range, uint8_t format);
    virtual void CloseActiveWindow(uint8_t save);
    virtual void AddWorkbook();
    virtual void AddWorkbookFromTemplate(std::string_view templateFile);
    virtual void ApplyChartDataLabels(uint8_t labelType);
    virtual void SetChartDataTable(uint8_t flag);
    virtual void PasteSheet(std::string_view text);
    virtual void PasteToRange(std::string_view range, std::string_view text);
    virtual void PasteToCells(int32_t row, int32_t column, std::string_view text);
    virtual uint8_t GetRangeAlignment(std::string_view range);
    virtual int32_t GetCellsAlignment(int32_t row, int32_t column);
    virtual int32_t GetSelectionColumnWidth();
    virtual int32_t GetColumnRangeWidth(std::string_view columns);
    virtual int32_t GetColumnWidth(int32_t column);
    virtual int32_t GetSelectionHorizontalAlignment();
    virtual uint8_t GetRangeHorizontalAlignment(std::string_view range);
    virtual int32_t GetCellsHorizontalAlignment(int32_t row, int32_t column);
    virtual std::string GetInternational(int16_t index);
    virtual int32_t GetSelectionRowHeight();
    virtual int32_t GetRowHeight(int32_t row);
    virtual int32_t GetChartSeriesCount();
    virtual int32_t GetSheetCount();
    virtual int32_t GetActiveSheetIndex();
    virtual int32_t GetSheetIndex(std::string_view name);
    virtual std::string GetActiveSheetName();
    virtual std::string GetSheetName(int32_t sheet);
    virtual int32_t GetSelectionVerticalAlignment();
    virtual uint8_t GetRangeVerticalAlignment(std::string_view range);
    virtual int32_t GetCellsVerticalAlignment(int32_t row, int32_t column);
    virtual int32_t GetSelectionWrapText();
    virtual uint8_t GetRangeWrapText(std::string_view range);
    virtual int32_t GetCellsWrapText(int32_t row, int32_t column);
    virtual void AddChart(int16_t chartType, uint8_t location, std::string_view sheetName);
    virtual void FormatChartPlotArea(int16_t borderColour, int16_t borderWeight,
                                     int16_t borderLineStyle, int16_t interiorColour,
                                     int16_t patternColour, int16_t pattern);
    virtual void FormatChartArea(int16_t borderColour, int16_t borderWeight,
                                 int16_t borderLineStyle, int16_t interiorColour,
                                 int16_t patternColour, int16_t pattern);
    virtual void SetPageHeadersFooters(std::string_view leftHeader, std::string_view centerHeader,
                                       std::string_view rightHeader, std::string_view leftFooter,
                                       std::string_view centerFooter, std::string_view rightFooter);
    virtual void InsertColumnRange(std::string_view columns);
    virtual void InsertColumn(int32_t column);
    virtual void InsertRow(int32_t row);
    virtual void SetChartLegendPosition(int16_t position);
    virtual void SetChartSeriesAxisGroup(int16_t series, int16_t axisGroup);
    virtual void MergeSelection();
    virtual void SetRangeMergeCells(std::string_view range);
    virtual void OpenWorkbook(std::string_view file);
    virtual void SetPaperSizeAndOrientation(uint8_t paperSize, uint8_t orientation);
    virtual void PrintActiveSheet(uint8_t copies);
    virtual std::string GetActiveCellValue();
    virtual std::string GetRangeValue(std::string_view range);
    virtual std::string GetCellsValue(int32_t row, int32_t column);
    virtual void GotoAndReplace(std::string_view sought, std::string_view replacement,
                                uint8_t matchCase, uint8_t mode);
    virtual void SaveWorkbookAs(std::string_view file);
    virtual void SaveWorkbookAsFormat(std::string_view file, int32_t format,
                                      std::string_view password, std::string_view readOnly,
                                      uint8_t backup);
    virtual void SelectRange(std::string_view range);
    virtual void SelectCells(int32_t row, int32_t column);
    virtual void SelectColumnRange(std::string_view columns);
    virtual void SelectColumn(int32_t column);
    virtual void SelectRow(int32_t row);
    virtual void SelectSheet(int16_t sheet);
    virtual void SelectSheetByName(std::string_view name);
    virtual void SetRangeAlignment(std::string_view range, uint8_t value);
    virtual void SetCellsAlignment(int32_t row, int32_t column, uint8_t value);
    virtual void SetSelectionColumnWidth(int32_t width);
    virtual void SetColumnRangeWidth(std::string_view columns, int32_t width);
    virtual void SetColumnWidth(int32_t column, int32_t width);
    virtual void SetChartTitle(std::string_view title);
    virtual void SetSelectionHorizontalAlignment(uint8_t value);
    virtual void SetRangeHorizontalAlignment(std::string_view range, uint8_t value);
    virtual void SetCellsHorizontalAlignment(int32_t row, int32_t column, uint8_t value);
    virtual void SetPageMargins(int16_t top, int16_t bottom, int16_t left, int16_t right);
    virtual void SetSelectionMergeCells(uint8_t flag);
    virtual void SetSelectionNumberFormat(std::string_view format);
    virtual void SetRangeNumberFormat(std::string_view range, std::string_view format);
    virtual void SetCellsNumberFormat(int32_t row, int32_t column, std::string_view format);
    virtual void SetSelectionRowHeight(int32_t height);
    virtual void SetRowHeight(int32_t row, int32_t height);
    virtual void SetSheetName(int16_t sheet, std::string_view name);
    virtual void SetSelectionVerticalAlignment(uint8_t value);
    virtual void SetRangeVerticalAlignment(std::string_view range, uint8_t value);
    virtual void SetCellsVerticalAlignment(int32_t row, int32_t column, uint8_t value);
    virtual void SetSelectionWrapText(uint8_t flag);
    virtual void SetRangeWrapText(std::string_view range, uint8_t flag);
    virtual void SetCellsWrapText(int32_t row, int32_t column, uint8_t flag);
    virtual void SetChartAxis1Title(std::string_view title);
    virtual void SetChartAxis2Title(std::string_view title);
    virtual void SetChartAxis3Title(std::string_view title);
    virtual void SetChartGridlines(uint8_t axis, uint8_t major, uint8_t minor);

private:
    void formatChartPart(std::string_view select, int16_t borderColour, int16_t borderWeight,
                         int16_t borderLineStyle, int16_t interiorColour, int16_t patternColour,
                         int16_t pattern);
    void setAxisTitle(int axis, std::string_view title);
};

} // namespace office
