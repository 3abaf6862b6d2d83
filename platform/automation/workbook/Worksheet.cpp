#include "platform/automation/workbook/Worksheet.h"

#include "platform/automation/workbook/FormulaValue.h"

#include <algorithm>

namespace platform::automation::workbook {

Worksheet::Worksheet(QString name) : m_name(std::move(name))
{
}

const Cell* Worksheet::cellAt(int row, int column) const
{
    const auto found = m_cells.find({row, column});
    return found == m_cells.end() ? nullptr : &found->second;
}

Cell& Worksheet::cell(int row, int column)
{
    return m_cells[{row, column}];
}

CellValue Worksheet::value(int row, int column) const
{
    const Cell* existing = cellAt(row, column);
    return existing ? existing->value : CellValue();
}

void Worksheet::setValue(int row, int column, const CellValue& value)
{
    Cell& target = cell(row, column);
    target.value = value;
    target.formula.clear();
}

void Worksheet::setFormula(int row, int column, const QString& text)
{
    FormulaValue::Entry entry = FormulaValue::evaluate(text);
    Cell& target = cell(row, column);
    target.value = std::move(entry.value);
    target.formula = std::move(entry.formula);
}

void Worksheet::removeCell(int row, int column)
{
    m_cells.erase({row, column});
}

std::optional<CellRange> Worksheet::usedRange() const
{
    if (m_cells.empty()) {
        return std::nullopt;
    }
    CellRange range{m_cells.begin()->first.first, m_cells.begin()->first.second,
                    m_cells.rbegin()->first.first, m_cells.begin()->first.second};
    for (const auto& [key, cell] : m_cells) {
        range.firstColumn = std::min(range.firstColumn, key.second);
        range.lastColumn = std::max(range.lastColumn, key.second);
    }
    return range;
}

double Worksheet::columnWidth(int column) const
{
    return explicitColumnWidth(column).value_or(kDefaultColumnWidth);
}

std::optional<double> Worksheet::explicitColumnWidth(int column) const
{
    const auto found = m_columnWidths.find(column);
    if (found == m_columnWidths.end()) {
        return std::nullopt;
    }
    return found->second;
}

void Worksheet::setColumnWidth(int column, double width)
{
    // The spreadsheet's limit is 255 characters; a negative width hides nothing here.
    m_columnWidths[column] = std::clamp(width, 0.0, 255.0);
}

std::optional<double> Worksheet::rowHeight(int row) const
{
    const auto found = m_rowHeights.find(row);
    if (found == m_rowHeights.end()) {
        return std::nullopt;
    }
    return found->second;
}

void Worksheet::setRowHeight(int row, double points)
{
    m_rowHeights[row] = std::clamp(points, 0.0, 409.0);
}

} // namespace platform::automation::workbook
