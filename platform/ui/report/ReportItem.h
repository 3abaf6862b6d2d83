#pragma once

#include "platform/ui/report/ReportFont.h"

#include <optional>
#include <string>

// One item of a report band. Positions and sizes are in report units (1/1000 inch), relative to
// the band's top left corner; the band's left edge is the page's left margin.
namespace platform::ui {

enum class ReportItemKind { Label, Field, Box, Line };

// What a field prints: its value source as it is now, or a figure the report keeps itself.
enum class ReportTotalKind { None, Sum, Average, Maximum, Minimum, Count, PageNumber };

enum class ReportAlignment { Left, Right, Center };

struct ReportItem
{
    ReportItemKind kind = ReportItemKind::Label;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::string text;    // a label's text (Windows-1251)
    std::string use;     // a field's value source: a variable or record field name ("K:SUMMA")
    std::string picture; // a field's picture ("n_11.2", "@s50", "pСтр  <<<#p"); empty: as is
    ReportTotalKind total = ReportTotalKind::None;
    ReportAlignment alignment = ReportAlignment::Left;
    std::optional<ReportFont> font; // none: the report's font
    int lineWidth = 10;             // boxes and lines
    // A text that does not fit its width goes on in further lines inside it, and its band
    // grows to hold them; otherwise it is one line, cut at the item's edges.
    bool wrap = false;
};

} // namespace platform::ui
