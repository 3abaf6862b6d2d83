#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One row of a browse list: the shown texts of its cells (Windows-1251), per-cell colours and
// icon numbers set by the row fill, and the record it was read from with its position in the
// file, by which the row finds its record again and which makes its place in the list's order
// unique among equal key values.
namespace platform::ui {

struct CellColours
{
    int text = -1; // 0x00BBGGRR; -1: the default
    int back = -1;
    int selectedText = -1;
    int selectedBack = -1;
};

struct ListRow
{
    std::vector<std::string> cells;
    std::vector<CellColours> colours;
    std::vector<int> icons; // 0: none; otherwise a 1-based index into the list's icon list
    std::vector<std::byte> record;
    std::int64_t position = 0; // 0: not read from the file (a row being inserted)
};

} // namespace platform::ui
