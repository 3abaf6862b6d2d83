#include "platform/automation/excel/SheetPageLayout.h"

#include "platform/automation/excel/SheetEditing.h"

#include <algorithm>
#include <cmath>

namespace platform::automation::excel {

double SheetPageLayout::columnWidthPoints(double width)
{
    if (width <= 0)
        return 0;
    // Seven pixels a digit of the default font and five of padding, at 96 pixels an inch.
    return (std::round(width * 7.0) + 5.0) * 72.0 / 96.0;
}

SheetPageLayout::SheetPageLayout(const workbook::Worksheet& sheet, const Settings& settings)
    : m_used(sheet.usedRange())
{
    if (!m_used)
        return;
    // The printout starts at the sheet's first cell, as the spreadsheet's does.
    m_used->firstRow = 1;
    m_used->firstColumn = 1;
    std::vector<double> widths;
    std::vector<double> heights;
    m_columnLeft.push_back(0);
    for (int column = m_used->firstColumn; column <= m_used->lastColumn; ++column) {
        widths.push_back(columnWidthPoints(sheet.columnWidth(column)));
        m_columnLeft.push_back(m_columnLeft.back() + widths.back());
    }
    m_rowTop.push_back(0);
    for (int row = m_used->firstRow; row <= m_used->lastRow; ++row) {
        heights.push_back(sheet.rowHeight(row).value_or(SheetEditing::fontHeight(sheet, row)));
        m_rowTop.push_back(m_rowTop.back() + heights.back());
    }
    const double roomWide =
        std::max(1.0, settings.paper.width() - settings.margins.left() - settings.margins.right());
    const double roomTall =
        std::max(1.0, settings.paper.height() - settings.margins.top() - settings.margins.bottom());
    m_scale = std::clamp(settings.zoom, 0.1, 4.0);
    if (settings.fitPagesWide > 0 || settings.fitPagesTall > 0) {
        // Fitting only shrinks, down to the spreadsheet's least zoom.
        m_scale = 1.0;
        if (settings.fitPagesWide > 0)
            m_scale = std::min(m_scale, roomWide * settings.fitPagesWide / m_columnLeft.back());
        if (settings.fitPagesTall > 0)
            m_scale = std::min(m_scale, roomTall * settings.fitPagesTall / m_rowTop.back());
        m_scale = std::max(m_scale, 0.1);
    }
    const auto across = split(widths, m_used->firstColumn, roomWide / m_scale);
    const auto down = split(heights, m_used->firstRow, roomTall / m_scale);
    for (const auto& [firstColumn, lastColumn] : across)
        for (const auto& [firstRow, lastRow] : down)
            m_pages.push_back({firstRow, lastRow, firstColumn, lastColumn});
}

// Consecutive runs of sizes that fit the room; one too large for the room gets a page of its own.
std::vector<std::pair<int, int>> SheetPageLayout::split(const std::vector<double>& sizes, int first,
                                                        double room)
{
    std::vector<std::pair<int, int>> runs;
    double used = 0;
    int start = first;
    for (size_t at = 0; at < sizes.size(); ++at) {
        const int index = first + static_cast<int>(at);
        // A little slack, so a run that fits exactly is not pushed on by rounding.
        if (used > 0 && used + sizes[at] > room + 1e-6) {
            runs.emplace_back(start, index - 1);
            start = index;
            used = 0;
        }
        used += sizes[at];
    }
    runs.emplace_back(start, first + static_cast<int>(sizes.size()) - 1);
    return runs;
}

double SheetPageLayout::columnLeft(int column) const
{
    return m_columnLeft.at(static_cast<size_t>(column - m_used->firstColumn));
}

double SheetPageLayout::rowTop(int row) const
{
    return m_rowTop.at(static_cast<size_t>(row - m_used->firstRow));
}

double SheetPageLayout::columnWidth(int column) const
{
    return columnLeft(column + 1) - columnLeft(column);
}

double SheetPageLayout::rowHeight(int row) const
{
    return rowTop(row + 1) - rowTop(row);
}

} // namespace platform::automation::excel
