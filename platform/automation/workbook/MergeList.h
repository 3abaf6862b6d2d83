#pragma once

#include "platform/automation/workbook/CellRange.h"

#include <optional>
#include <vector>

namespace platform::automation::workbook {

// The merged areas of a sheet. Areas never overlap: merging an area first dissolves every
// merge it touches, as the spreadsheet does when a selection over merged cells is merged.
class MergeList
{
public:
    void merge(const CellRange& range);   // a single cell merges nothing
    void unmerge(const CellRange& range); // dissolves every merge the range touches
    // Merges the areas of a file at once: fast when they do not overlap, as in any sound file.
    // False, with nothing changed, when they overlap and are too many to sort out one by one.
    bool mergeAll(const std::vector<CellRange>& areas);
    std::optional<CellRange> areaAt(int row, int column) const;
    const std::vector<CellRange>& areas() const { return m_areas; }
    bool isEmpty() const { return m_areas.empty(); }

private:
    std::vector<CellRange> m_areas;
};

} // namespace platform::automation::workbook
