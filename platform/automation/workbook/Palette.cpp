#include "platform/automation/workbook/Palette.h"

#include <array>
#include <limits>

namespace platform::automation::workbook {
namespace {

constexpr std::array<uint32_t, Palette::kSize> kColours = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

int channel(uint32_t rgb, int shift)
{
    return static_cast<int>((rgb >> shift) & 0xFF);
}

} // namespace

std::optional<uint32_t> Palette::rgb(int colorIndex)
{
    if (!isIndex(colorIndex)) {
        return std::nullopt;
    }
    return kColours[static_cast<size_t>(colorIndex - 1)];
}

int Palette::nearestIndex(uint32_t rgb)
{
    int best = 1;
    int bestDistance = std::numeric_limits<int>::max();
    for (int index = 1; index <= kSize; ++index) {
        const uint32_t colour = kColours[static_cast<size_t>(index - 1)];
        int distance = 0;
        for (int shift : {0, 8, 16}) {
            const int difference = channel(colour, shift) - channel(rgb, shift);
            distance += difference * difference;
        }
        if (distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace platform::automation::workbook
