#pragma once

#include <cstdint>

namespace platform::automation::workbook {

// What a workbook may hold before it is refused: a small file can unpack to far more than memory
// holds, so the readers count before they build.
struct WorkbookLimits
{
    static constexpr int64_t kMaxCells = 10'000'000;        // cells and shared texts
    static constexpr int64_t kMaxUnpackedBytes = 1LL << 30; // all parts of a package
};

} // namespace platform::automation::workbook
