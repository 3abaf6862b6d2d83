#pragma once

#include <string>

// A font of a report item. Sizes are in points; an item's font that leaves a member unset takes
// the report's.
namespace platform::ui {

struct ReportFont
{
    std::string typeface; // empty: the report's typeface
    double size = 0;      // points; 0: the report's size
    bool bold = false;
    bool italic = false;
};

} // namespace platform::ui
