#pragma once

#include "platform/automation/workbook/Worksheet.h"

#include <QMarginsF>
#include <QSizeF>

#include <optional>
#include <vector>

namespace platform::automation::excel {

// How the used area of a sheet falls onto printed pages, in points: each column at its own
// width and each row at its own height, times the scale; columns that do not fit the page go
// on further pages, as the spreadsheet prints them (down the rows first, then across).
class SheetPageLayout
{
public:
    struct Settings
    {
        QSizeF paper{595.276, 841.89}; // A4 portrait, points
        QMarginsF margins{54, 72, 54, 72};
        double zoom = 1.0;    // 0.1 to 4
        int fitPagesWide = 0; // 0: not fitted; otherwise the zoom is worked out to fit
        int fitPagesTall = 0;
    };

    struct Page
    {
        int firstRow;
        int lastRow;
        int firstColumn;
        int lastColumn;
    };

    SheetPageLayout(const workbook::Worksheet& sheet, const Settings& settings);

    double scale() const { return m_scale; }
    const std::vector<Page>& pages() const { return m_pages; } // empty for an empty sheet
    // Left edge of the column and top edge of the row from the start of the used area,
    // unscaled points.
    double columnLeft(int column) const;
    double rowTop(int row) const;
    double columnWidth(int column) const; // points, unscaled; 0 for a hidden column
    double rowHeight(int row) const;

    // The spreadsheet's column width (characters of the default font) in points.
    static double columnWidthPoints(double width);

private:
    static std::vector<std::pair<int, int>> split(const std::vector<double>& sizes, int first,
                                                  double room);

    std::optional<workbook::CellRange> m_used;
    std::vector<double> m_columnLeft; // from the first used column, one past the last
    std::vector<double> m_rowTop;
    double m_scale = 1.0;
    std::vector<Page> m_pages;
};

} // namespace platform::automation::excel
