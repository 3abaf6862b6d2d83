#pragma once

#include "platform/ui/report/ReportItem.h"

#include <vector>

// A band of a report: a strip of the page as high as the band, printed as a whole.
namespace platform::ui {

enum class ReportBandKind { GroupHeader, Detail, GroupFooter, PageFooter };

struct ReportBand
{
    ReportBandKind kind = ReportBandKind::Detail;
    int height = 0; // report units (1/1000 inch)
    std::vector<ReportItem> items;
};

} // namespace platform::ui
