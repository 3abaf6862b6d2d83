#pragma once

#include "app/dictionary/Records.h"

#include <string_view>
#include <vector>

namespace office {
class ExcelAutomation;
}

// Reading an order workbook back into the basket.
namespace app {

// Opens the workbook (Windows-1251 name, trailing blanks ignored) and reads its item rows:
// column A down to the seventh blank A cell of the sheet, rows whose A cell is not a complete
// number passed over. False when Excel could not open the file (nothing read).
bool readOrderWorkbook(office::ExcelAutomation& excel, std::string_view fileName,
                       std::vector<KorzakRecord>& lines);

// The order-open window's step: when the workbook could be read, the basket (KORZAK, open) is
// emptied and refilled from it; when it could not, the basket stays as it was and the user is
// told why. True when the basket was replaced.
bool ImportOrderFromExcel(office::ExcelAutomation& excel, std::string_view fileName);

} // namespace app
