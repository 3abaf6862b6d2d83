#pragma once

#include "platform/automation/workbook/Cell.h"
#include "platform/automation/workbook/CellRange.h"
#include "platform/automation/workbook/MergeList.h"

#include <QString>

#include <map>
#include <optional>
#include <utility>

namespace platform::automation::workbook {

// One sheet: its cells by row and column (from 1), merged areas, column widths in the
// spreadsheet's character units and row heights in points. A cell exists once it has been
// given a value or a format.
class Worksheet
{
public:
    using CellKey = std::pair<int, int>; // row, column
    static constexpr double kDefaultColumnWidth = 8.43;

    explicit Worksheet(QString name);

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }

    const Cell* cellAt(int row, int column) const; // nullptr when the cell does not exist
    Cell& cell(int row, int column);               // creates the cell
    CellValue value(int row, int column) const;
    void setValue(int row, int column, const CellValue& value); // drops a formula
    // The cell's content as an entry (see FormulaValue): "=5" keeps the formula with value 5,
    // "  12.50" stores the number 12.5, "ЗАКАЗ" stores the text.
    void setFormula(int row, int column, const QString& text);
    void removeCell(int row, int column);
    const std::map<CellKey, Cell>& cells() const { return m_cells; } // by row, then column
    std::optional<CellRange> usedRange() const;

    MergeList& merges() { return m_merges; }
    const MergeList& merges() const { return m_merges; }

    double columnWidth(int column) const; // the default width when not set
    std::optional<double> explicitColumnWidth(int column) const;
    void setColumnWidth(int column, double width);
    const std::map<int, double>& columnWidths() const { return m_columnWidths; }

    std::optional<double> rowHeight(int row) const; // nothing: the height follows the fonts
    void setRowHeight(int row, double points);
    const std::map<int, double>& rowHeights() const { return m_rowHeights; }

private:
    QString m_name;
    std::map<CellKey, Cell> m_cells;
    MergeList m_merges;
    std::map<int, double> m_columnWidths;
    std::map<int, double> m_rowHeights;
};

} // namespace platform::automation::workbook
