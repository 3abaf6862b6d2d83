#pragma once

#include <string>
#include <string_view>

namespace office {
class ExcelAutomation;
}

// Writing the order workbook: one sheet with the title, the customer's requisites, the comment,
// the total weight, a heading row and one row per basket line, built cell by cell through Excel.
namespace app {

// Why a workbook was not written, as the spreadsheet server said it: the runtime's error code of
// its failing write (39 no room, 5 no access ...) or 0, and its own words.
struct WorkbookSaveFailure
{
    int code = 0;
    std::string reason;
};

// Builds and saves the workbook (Windows-1251 name, trailing blanks ignored; ".xlsx" gives the
// Office Open XML form, any other name the binary one) from the basket in the order of the sort
// tab and the current requisites record; KORZAK must be open and Excel started. An existing file
// of that name is replaced only by a complete new one. True when the file was written; otherwise
// failure (when given) says why. The workbook window is closed either way.
bool writeOrderWorkbook(office::ExcelAutomation& excel, std::string_view fileName,
                        std::string_view comment, int basketSortTab, double totalWeight,
                        WorkbookSaveFailure* failure = nullptr);

// The save window's step: writes the workbook and tells the user "Файл заказа сформирован." only
// when it was written, otherwise that it could not be. True when written.
bool ExportOrderToExcel(office::ExcelAutomation& excel, std::string_view fileName,
                        std::string_view comment, int basketSortTab, double totalWeight);

} // namespace app
