#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One row of a browse list: the shown texts of its cells (Windows-1251), per-cell colours and
// icon numbers set by the row fill, and the whole record it was read from, by which the row
// finds its record in the file again.
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
};

} // namespace platform::ui
