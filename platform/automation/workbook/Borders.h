#pragma once

#include "platform/automation/workbook/Palette.h"

#include <array>

namespace platform::automation::workbook {

// Line styles, weights and edges with the object model's constants.
enum class LineStyle : int {
    None = -4142,
    Continuous = 1,
    Dash = -4115,
    DashDot = 4,
    DashDotDot = 5,
    Dot = -4118,
    Double = -4119,
    SlantDashDot = 13,
};

enum class BorderWeight : int { Hairline = 1, Thin = 2, Medium = -4138, Thick = 4 };

enum class Edge : int { Left = 7, Top = 8, Bottom = 9, Right = 10 };

struct BorderLine
{
    LineStyle style = LineStyle::None;
    BorderWeight weight = BorderWeight::Thin;
    int colorIndex = Palette::kAutomatic;

    bool isVisible() const { return style != LineStyle::None; }
    bool operator==(const BorderLine&) const = default;
};

// The four edges of a cell.
class Borders
{
public:
    BorderLine& edge(Edge which) { return m_lines[index(which)]; }
    const BorderLine& edge(Edge which) const { return m_lines[index(which)]; }
    void setAll(const BorderLine& line) { m_lines.fill(line); }

    bool operator==(const Borders&) const = default;

private:
    static size_t index(Edge which) { return static_cast<size_t>(static_cast<int>(which) - 7); }

    std::array<BorderLine, 4> m_lines{};
};

} // namespace platform::automation::workbook
