#pragma once

#include <QIcon>

#include <cstdint>
#include <string>
#include <vector>

// The marks of the list rows: the photo check mark and the price-change arrows, drawn as
// symbols in their colours, and the test for an item's photo file.
namespace app {

namespace RowMark {
constexpr int Photo = 1;
constexpr int Cheaper = 2;
constexpr int Dearer = 3;
} // namespace RowMark

// Colours of the marks (0x00BBGGRR).
constexpr int CheaperColour = 0x8000;
constexpr int DearerColour = 0xFF;
// The photo mark takes its list's colour: the price list's column has its own green, the
// basket's the plain one.
constexpr int PricePhotoColour = 0x25A217;
constexpr int BasketPhotoColour = 0x8000;

// The icons by mark number (1-based: index 0 is the photo mark, in the colour given).
std::vector<QIcon> rowMarkIcons(int photoColour);

// The arrow of a price-change code: 1 cheaper, 2 dearer, anything else none (0).
int priceChangeMark(uint8_t kodcena);
// Its text colour, -1 for none.
int priceChangeColour(uint8_t kodcena);

// A number in a list cell by its picture, without the picture's leading blanks (the column
// aligns it).
std::string numberCell(double value, const char* picture);

// Whether the item's photo exists in the folder (Windows-1251, used as stored).
bool photoExists(const std::string& folder, int32_t code);

} // namespace app
