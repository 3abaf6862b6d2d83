#pragma once

#include "platform/ui/report/ReportBand.h"
#include "platform/ui/report/ReportFont.h"

#include <string>
#include <vector>

// A report as data: the page margins, the report's font and up to one band of each kind. The
// runner prints them in the order group header, details, group footer, with the page footer at
// the foot of every page; the order the bands are listed in does not matter.
namespace platform::ui {

struct ReportMargins
{
    int left = 500; // report units (1/1000 inch)
    int top = 500;
    int right = 500;
    int bottom = 500;
};

class ReportDefinition
{
public:
    std::string label; // "P1$REPORT"
    ReportFont font{"Arial", 10, false, false};
    ReportMargins margins;
    std::vector<ReportBand> bands;

    // The band of that kind; nullptr when the report has none.
    const ReportBand* band(ReportBandKind kind) const;

    // Why the definition cannot be printed (empty when it can): a band kind given twice, a
    // negative size, a field with no value source where it needs one.
    std::string problem() const;

    // The item's font with the report's typeface and size filled in.
    ReportFont fontOf(const ReportItem& item) const;
};

} // namespace platform::ui
