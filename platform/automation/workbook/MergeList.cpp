#include "platform/automation/workbook/MergeList.h"

#include <algorithm>
#include <map>
#include <queue>

namespace platform::automation::workbook {

void MergeList::merge(const CellRange& range)
{
    // The spreadsheet widens the area to the merges it touches; the union keeps every cell
    // that was merged inside the new area.
    CellRange area = range;
    bool widened = true;
    while (widened) {
        widened = false;
        for (const CellRange& existing : m_areas) {
            if (existing.intersects(area) &&
                (existing.firstRow < area.firstRow || existing.firstColumn < area.firstColumn ||
                 existing.lastRow > area.lastRow || existing.lastColumn > area.lastColumn)) {
                area = CellRange{std::min(area.firstRow, existing.firstRow),
                                 std::min(area.firstColumn, existing.firstColumn),
                                 std::max(area.lastRow, existing.lastRow),
                                 std::max(area.lastColumn, existing.lastColumn)};
                widened = true;
            }
        }
    }
    unmerge(area);
    if (!area.isSingleCell()) {
        m_areas.push_back(area);
    }
}

void MergeList::unmerge(const CellRange& range)
{
    std::erase_if(m_areas, [&](const CellRange& existing) { return existing.intersects(range); });
}

namespace {

constexpr size_t kMaxOverlappingAreas = 10000;

// Sweeps the areas by first row, keeping the ones that cover the current row by first column:
// those are disjoint in their columns, so only the nearest one to the left can overlap the next.
bool disjoint(std::vector<CellRange> areas)
{
    std::sort(areas.begin(), areas.end(), [](const CellRange& left, const CellRange& right) {
        return left.firstRow < right.firstRow;
    });
    std::map<int, CellRange> active;
    using Expiry = std::pair<int, int>; // last row, first column
    std::priority_queue<Expiry, std::vector<Expiry>, std::greater<>> expiries;
    for (const CellRange& area : areas) {
        while (!expiries.empty() && expiries.top().first < area.firstRow) {
            const auto found = active.find(expiries.top().second);
            if (found != active.end() && found->second.lastRow == expiries.top().first) {
                active.erase(found);
            }
            expiries.pop();
        }
        auto next = active.upper_bound(area.lastColumn);
        if (next != active.begin() && std::prev(next)->second.lastColumn >= area.firstColumn) {
            return false;
        }
        active[area.firstColumn] = area;
        expiries.emplace(area.lastRow, area.firstColumn);
    }
    return true;
}

} // namespace

bool MergeList::mergeAll(const std::vector<CellRange>& areas)
{
    std::vector<CellRange> all = m_areas;
    all.insert(all.end(), areas.begin(), areas.end());
    if (disjoint(all)) {
        for (const CellRange& area : areas) {
            if (!area.isSingleCell()) {
                m_areas.push_back(area);
            }
        }
        return true;
    }
    if (all.size() > kMaxOverlappingAreas) {
        return false;
    }
    for (const CellRange& area : areas) {
        merge(area);
    }
    return true;
}

std::optional<CellRange> MergeList::areaAt(int row, int column) const
{
    for (const CellRange& area : m_areas) {
        if (area.contains(row, column)) {
            return area;
        }
    }
    return std::nullopt;
}

} // namespace platform::automation::workbook
