#pragma once

#include "platform/automation/workbook/Alignment.h"
#include "platform/automation/workbook/Borders.h"

#include <cstdint>

namespace platform::automation::workbook {

// The numeric codes both file formats use for border lines and alignments, and the binary
// format's colour numbers (palette entries 8 to 63).
class FormatCodes
{
public:
    // 0 none, 1 thin, 2 medium, 3 dashed, 4 dotted, 5 thick, 6 double, 7 hair, 8 medium dashed,
    // 9 dash-dot, 10 medium dash-dot, 11 dash-dot-dot, 12 medium dash-dot-dot, 13 slant dash-dot.
    static int borderCode(const BorderLine& line);
    static BorderLine borderFromCode(int code, int colorIndex);

    // general, left, center, right, fill, justify, centre across selection, distributed.
    static int horizontalCode(HorizontalAlignment alignment);
    static HorizontalAlignment horizontalFromCode(int code);
    // top, center, bottom, justify, distributed.
    static int verticalCode(VerticalAlignment alignment);
    static VerticalAlignment verticalFromCode(int code);

    static uint16_t biffColor(int colorIndex, uint16_t automatic);
    static int colorFromBiff(int biffColor); // automatic unless a palette colour
};

} // namespace platform::automation::workbook
