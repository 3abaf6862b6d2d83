#pragma once

#include "platform/ui/report/ReportItem.h"
#include "platform/ui/report/ReportValue.h"

#include <string>

namespace platform::ui {

class ReportTotals;

// The Windows-1251 text an item prints: a label's own text, a field's value through its
// picture. A total field prints the report's figure, a page-number field the page it is printed
// on; a field whose source has no value prints nothing.
std::string reportItemText(const ReportItem& item, const ReportValueSource& source,
                           const ReportTotals& totals, int page);

} // namespace platform::ui
