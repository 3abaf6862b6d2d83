#pragma once

namespace platform::automation::workbook {
class Workbook;
}

// Looks at everything a read workbook holds, as the automation server would when asked for it:
// every sheet, cell value as text, formula, merged area, column width and row height.
namespace fuzzsupport {

void walkWorkbook(const platform::automation::workbook::Workbook& workbook);

} // namespace fuzzsupport
