#pragma once

#include <cstdint>
#include <optional>

namespace platform::automation::workbook {

// The spreadsheet's standard 56-colour palette. Colour indexes are the ones the object model
// shows (1 to 56); the two special values stand for "automatic" and "none".
class Palette
{
public:
    static constexpr int kAutomatic = -4105;
    static constexpr int kNone = -4142;
    static constexpr int kSize = 56;

    // 0x00RRGGBB of a colour index 1..56; nothing for any other value.
    static std::optional<uint32_t> rgb(int colorIndex);
    // The index whose colour is nearest to 0x00RRGGBB; an exact match gives its first index.
    static int nearestIndex(uint32_t rgb);
    static bool isIndex(int colorIndex) { return colorIndex >= 1 && colorIndex <= kSize; }
};

} // namespace platform::automation::workbook
