#include "platform/automation/workbook/ColumnWidthUnits.h"

#include <cmath>

namespace platform::automation::workbook {
namespace {

constexpr double kDigitPixels = 7.0;
constexpr double kPaddingPixels = 5.0;

} // namespace

double ColumnWidthUnits::toFileWidth(double width)
{
    if (!(width > 0.0)) {
        return 0.0;
    }
    const double pixels = width < 1.0 ? std::trunc(width * (kDigitPixels + kPaddingPixels) + 0.5)
                                      : std::trunc(width * kDigitPixels + 0.5) + kPaddingPixels;
    return std::trunc(pixels / kDigitPixels * 256.0) / 256.0;
}

double ColumnWidthUnits::fromFileWidth(double fileWidth)
{
    if (!(fileWidth > 0.0)) {
        return 0.0;
    }
    const double pixels = std::trunc(fileWidth * kDigitPixels + 0.5);
    const double width = pixels < kDigitPixels + kPaddingPixels
                             ? pixels / (kDigitPixels + kPaddingPixels)
                             : (pixels - kPaddingPixels) / kDigitPixels;
    return std::trunc(width * 100.0 + 0.5) / 100.0;
}

} // namespace platform::automation::workbook
