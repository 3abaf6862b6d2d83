#pragma once

#include "app/dictionary/Records.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Deterministic price-list rows for the benchmarks: row i is always the same record, so runs
// and programs compare like with like. Codes are unique seven-digit numbers in shuffled
// order; names, designations, makers, groups and applicability texts are Windows-1251 with
// realistic lengths and repeats (a few hundred makers, a few dozen groups).
namespace bench {

class PriceRows
{
public:
    // Fills the record of row index.
    void fill(std::size_t index, app::PriosnRecord& record) const;

    // The code of row index (unique for index below 9,000,000).
    static int32_t code(std::size_t index);

    // Row index as a CSV line (comma-separated, texts quoted, Windows-1251, LF), in field order.
    std::string csvLine(std::size_t index) const;
};

} // namespace bench
