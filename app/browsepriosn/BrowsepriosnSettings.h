#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The window's entries of "quelbarto.ini": its geometry and list formats in "sizeprice", the
// day of the last price-list load in "dataprice".
namespace app {

// The settings file in the current working folder.
std::string priceWindowSettingsPath();

struct WindowGeometry
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct PriceWindowSizes
{
    WindowGeometry geometry;
    std::string priceFormat;  // "br1"
    std::string basketFormat; // "br2"
};

// Writes w1..w4, br1, br2 and br2_1 = "1".
void savePriceWindowSizes(const PriceWindowSizes& sizes);

// The saved geometry; none when "w1" is missing or empty.
std::optional<WindowGeometry> savedGeometry();
// The saved formats, empty when missing; the basket's only when "br2_1" reads "1".
std::string savedPriceFormat();
std::string savedBasketFormat();

// "d1": the load's day number; cleared (empty) when the price list was made anew.
void saveLoadDay(int32_t dayNumber);
void clearLoadDay();
// The load-date text shown beside the heading (Windows-1251): "(загружен  8.12.2026)", blank
// without a saved day.
std::string loadDateText();
std::string loadDateText(int32_t dayNumber);

} // namespace app
