#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace platform::automation::workbook {

// A rectangle of cells, rows and columns counted from 1, in the spreadsheet's A1 notation
// ("B12", "A1:G1", "$A$1:$G$1").
struct CellRange
{
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;

    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;

    static CellRange cell(int row, int column) { return {row, column, row, column}; }
    // Nothing when the text is not a reference inside the sheet's limits; corners given in
    // either order are put in order.
    static std::optional<CellRange> parse(QStringView text);
    static QString columnName(int column); // 1 -> "A", 27 -> "AA"
    static std::optional<int> columnNumber(QStringView letters);

    QString toA1() const; // "A1" for one cell, "A1:G1" otherwise
    bool isSingleCell() const { return firstRow == lastRow && firstColumn == lastColumn; }
    bool contains(int row, int column) const;
    bool intersects(const CellRange& other) const;
    int rowCount() const { return lastRow - firstRow + 1; }
    int columnCount() const { return lastColumn - firstColumn + 1; }

    bool operator==(const CellRange&) const = default;
};

} // namespace platform::automation::workbook
