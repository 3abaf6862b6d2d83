#include "platform/ui/list/GrowthAxis.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {

GrowthAxis::GrowthAxis(std::vector<Span> spans, int growth)
{
    std::erase_if(spans, [](const Span& span) { return span.end <= span.start; });
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.start < b.start; });
    double total = 0.0;
    for (const Span& span : spans) {
        if (!m_regions.empty() && span.start < m_regions.back().end) {
            m_regions.back().end = std::max(m_regions.back().end, span.end);
            continue;
        }
        m_regions.push_back({span.start, span.end, 0.0});
    }
    for (const Region& region : m_regions)
        total += region.end - region.start;
    for (Region& region : m_regions) {
        const double length = region.end - region.start;
        // A region never shrinks below one unit, however small the window is made.
        region.growth = std::max(growth * length / total, 1.0 - length);
    }
}

int GrowthAxis::map(int coordinate) const
{
    double moved = coordinate;
    for (const Region& region : m_regions) {
        if (coordinate >= region.end) {
            moved += region.growth;
        } else if (coordinate > region.start) {
            moved += region.growth * (coordinate - region.start) / (region.end - region.start);
        }
    }
    return static_cast<int>(std::lround(moved));
}

} // namespace platform::ui
