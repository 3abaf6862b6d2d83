#pragma once

#include <vector>

// How the coordinates along one axis of a window (x or y) move when the window's size along
// it changes: the change is shared among the growing spans (the lists) in proportion to their
// lengths, so stacked lists each take a part; a coordinate inside a span moves with it in
// proportion, one after it by the whole growth of the spans before it.
namespace platform::ui {

class GrowthAxis
{
public:
    struct Span
    {
        int start;
        int end; // beyond the last unit
    };

    // spans: the growing spans at the original size (they may overlap; overlapping ones count
    // as one); growth: the new size minus the original one.
    GrowthAxis(std::vector<Span> spans, int growth);

    int map(int coordinate) const;

private:
    struct Region
    {
        int start;
        int end;
        double growth;
    };

    std::vector<Region> m_regions;
};

} // namespace platform::ui
