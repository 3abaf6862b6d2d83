#include "app/orderworkbook/ExportOrderToExcel.h"

#include "app/dictionary/Dictionary.h"
#include "app/ordertext/BasketOrder.h"
#include "app/ordertext/OrderNotSavedMessage.h"
#include "app/ordertext/OrderTextFormat.h"
#include "office/ExcelAutomation.h"
#include "platform/automation/OleContainer.h"
#include "platform/automation/OleControl.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Picture.h"
#include "platform/ui/MessageBox.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "platform/text/RealText.h"

namespace app {
namespace {

using platform::text::formatNumber;
using platform::text::w;

// Excel's constants as the automation paths take them.
const char* const kCentre = "-4108";
const char* const kRight = "-4152";

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string withoutLeadingBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string cell(char column, int row)
{
    return std::string(1, column) + std::to_string(row);
}

// A text entered as it stands: the leading "'" keeps Excel from taking "0012", "1E3" or
// " 007 " for a number and "=A1" for a formula, so the supplier reads the designation as typed.
std::string asText(std::string_view text)
{
    return "'" + std::string(text);
}

// The number in its picture; one that does not fit the picture is written in full rather than
// as the picture's overflow marks, which would read back as no number at all.
std::string numberText(double value, std::string_view picture)
{
    std::string text = formatNumber(value, picture);
    if (text.find_first_not_of('#') != std::string::npos || !std::isfinite(value))
        return text;
    const auto point = picture.find('.');
    const int decimals =
        point == std::string_view::npos ? 0 : std::atoi(picture.data() + point + 1);
    return platform::text::realFixedText(value, decimals);
}

void thinBorders(office::ExcelAutomation& excel)
{
    excel.SetProperty("Selection.Borders.ColorIndex", "-4105");
    excel.SetProperty("Selection.Borders.LineStyle", "1");
    excel.SetProperty("Selection.Borders.Weight", "2");
}

void writeTitle(office::ExcelAutomation& excel)
{
    excel.SelectRange("A1:G1");
    excel.SetSelectionMergeCells(1);
    excel.SetRangeFormula("A1", w("ЗАКАЗ"));
    excel.SelectRange("A1");
    excel.SetFontSize(14);
    excel.SetFontItalic(1);
    excel.SetFontBold(1);
    excel.SetPrefix("Selection.");
    excel.SetProperty("HorizontalAlignment", kCentre);
    excel.SetProperty("VerticalAlignment", kCentre);
    excel.SetProperty("Borders(xlEdgeRight).LineStyle", "1");
    excel.ClearPrefix();
    excel.SelectRange("A1:G1");
    thinBorders(excel);
    excel.SetPrefix("Selection.");
    excel.SetProperty("HorizontalAlignment", kCentre);
    excel.SetProperty("VerticalAlignment", kCentre);
    excel.ClearPrefix();
}

// Rows 2 to 10: the requisites, the comment and the weight, each in a merged A:G row.
void writeHeader(office::ExcelAutomation& excel, std::string_view comment, double totalWeight)
{
    std::vector<std::string> texts;
    // The text file's header lines carry the same captions behind their "#".
    for (const std::string& line : orderHeaderLines(REK(), comment))
        texts.push_back(line.substr(1));
    texts.push_back(w("Общий вес заказа (кг): ") +
                    withoutLeadingBlanks(numberText(totalWeight, "n_11.4")));
    for (int row = 2; row <= 10; ++row) {
        const std::string r = std::to_string(row);
        excel.SelectRange("A" + r + ":G" + r);
        excel.SetSelectionMergeCells(1);
        excel.SetFontSize(12);
        if (row == 10)
            excel.SetFontBold(1);
        if (row >= 9)
            excel.SelectRange("A" + r);
        excel.SetRangeFormula("A" + r, texts.at(static_cast<size_t>(row - 2)));
    }
}

void writeHeadings(office::ExcelAutomation& excel)
{
    const char* const headings[] = {"Код",    "Обозначение", "Наименование", "Производитель",
                                    "Кол-во", "Цена",        "Сумма"};
    for (int column = 0; column < 7; ++column) {
        excel.SelectRange(cell(static_cast<char>('A' + column), 11));
        excel.SetActiveCellFormula(w(headings[column]));
        excel.SetProperty("Selection.HorizontalAlignment", kCentre);
        excel.SetProperty("Selection.VerticalAlignment", kCentre);
        excel.SetFontSize(12);
        excel.SetFontBold(1);
        excel.SetFontItalic(1);
        thinBorders(excel);
    }
}

void writeLine(office::ExcelAutomation& excel, const KorzakRecord& k, int row)
{
    const std::string values[] = {std::to_string(k.KOD),        asText(k.OBOZ.view()),
                                  asText(k.NAIM.view()),        asText(k.PROIZV.view()),
                                  numberText(k.KOL, "n_5"),     numberText(k.CENA, "n_11.2"),
                                  numberText(k.SUMMA, "n_11.2")};
    for (int column = 0; column < 7; ++column) {
        excel.SelectRange(cell(static_cast<char>('A' + column), row));
        excel.SetActiveCellFormula(values[column]);
        if (column == 0 || column == 4) {
            excel.SetFontBold(1);
            excel.SetProperty("Selection.HorizontalAlignment", kRight);
            excel.SetProperty("Selection.Font.ColorIndex", column == 0 ? "11" : "5");
        } else if (column >= 5) {
            excel.SetProperty("Selection.HorizontalAlignment", kRight);
            excel.SetProperty("Selection.NumberFormat", "0.00");
        }
        excel.SetProperty("Selection.VerticalAlignment", kCentre);
        excel.SetFontSize(12);
        thinBorders(excel);
    }
}

} // namespace

bool writeOrderWorkbook(office::ExcelAutomation& excel, std::string_view fileName,
                        std::string_view comment, int basketSortTab, double totalWeight,
                        WorkbookSaveFailure* failure)
{
    // An existing file stays until the new one is complete: the server writes the workbook
    // beside it and puts it in its place only then, so a failed or cut-off save keeps the order
    // the user had.
    const std::string name(withoutTrailingBlanks(fileName));
    excel.AddWorkbook();
    const int widths[] = {10, 40, 40, 30, 12, 16, 17};
    for (int column = 1; column <= 7; ++column)
        excel.SetColumnWidth(column, widths[column - 1]);
    writeTitle(excel);
    writeHeader(excel, comment, totalWeight);
    writeHeadings(excel);
    setBasketOrder(basketSortTab);
    int row = 11;
    while (KORZAK().next() == 0)
        writeLine(excel, K(), ++row);
    excel.SaveWorkbookAs(name);
    // SaveAs answers nothing; the channel keeps why it failed, in the runtime's code when the
    // server's write failed on the disk.
    if (failure) {
        const auto* channel =
            platform::automation::OleControl::containerOf(excel.window(), excel.control());
        *failure = channel ? WorkbookSaveFailure{channel->lastErrorCode(), channel->lastError()}
                           : WorkbookSaveFailure{};
    }
    // A workbook that was saved has no unsaved changes left, and an older file of the name
    // proves nothing.
    const bool saved =
        office::OfficeAutomation::numberOf(excel.GetProperty("ActiveWorkbook.Saved")) != 0 &&
        platform::storage::fileExists(name);
    // An unsaved workbook closed with save would stay open; closed without, nothing is left.
    excel.CloseActiveWindow(saved ? 1 : 0);
    return saved;
}

bool ExportOrderToExcel(office::ExcelAutomation& excel, std::string_view fileName,
                        std::string_view comment, int basketSortTab, double totalWeight)
{
    using platform::ui::MessageIcon;
    WorkbookSaveFailure failure;
    if (!writeOrderWorkbook(excel, fileName, comment, basketSortTab, totalWeight, &failure)) {
        platform::ui::message(
            orderNotSavedMessage(withoutTrailingBlanks(fileName), failure.code, failure.reason),
            w("Ошибка"), MessageIcon::Hand);
        return false;
    }
    platform::ui::message(w("Файл заказа сформирован."), w("Сообщение"));
    return true;
}

} // namespace app
