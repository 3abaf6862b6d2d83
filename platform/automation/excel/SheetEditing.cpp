#include "platform/automation/excel/SheetEditing.h"

#include "platform/automation/excel/ExcelApplication.h"
#include "platform/automation/excel/ExcelWorkbook.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace platform::automation::excel {

using workbook::Cell;
using workbook::CellRange;
using workbook::Worksheet;

namespace {

bool haveClipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// The part of a range that holds cells: a whole row or column is cut to the used area.
std::optional<CellRange> usedPart(const Worksheet& sheet, const CellRange& range)
{
    const auto used = sheet.usedRange();
    if (!used || !used->intersects(range))
        return std::nullopt;
    return CellRange{std::max(range.firstRow, used->firstRow), std::max(range.firstColumn, used->firstColumn),
                     std::min(range.lastRow, used->lastRow), std::min(range.lastColumn, used->lastColumn)};
}

} // namespace

QString SheetEditing::shownText(const Cell& cell)
{
    if (cell.value.type() == workbook::CellValue::Type::Number
        && cell.format.numberFormat == QStringLiteral("0.00"))
        return QString::number(cell.value.toNumber(), 'f', 2);
    return cell.value.toText();
}

double SheetEditing::fontHeight(const Worksheet& sheet, int row)
{
    double size = 10;
    for (auto it = sheet.cells().lower_bound({row, 0}); it != sheet.cells().end() && it->first.first == row; ++it)
        size = std::max(size, it->second.format.font.size);
    if (size <= 10)
        return 12.75;
    return std::round(size * 1.3125 / 0.75) * 0.75;
}

void SheetEditing::copy(ExcelApplication& application, ExcelWorkbook& book, Worksheet& sheet,
                        const CellRange& range, bool cut)
{
    const auto part = usedPart(sheet, range);
    const CellRange area = part.value_or(CellRange::cell(range.firstRow, range.firstColumn));
    if (static_cast<long long>(area.rowCount()) * area.columnCount() > ExcelRange::kMaxFilledCells)
        throw AutomationError("too many cells to copy at once");
    ExcelApplication::CopiedBlock block;
    block.rows = area.rowCount();
    block.columns = area.columnCount();
    for (int row = area.firstRow; row <= area.lastRow; ++row) {
        QStringList fields;
        for (int column = area.firstColumn; column <= area.lastColumn; ++column) {
            const Cell* cell = sheet.cellAt(row, column);
            fields.append(cell ? shownText(*cell) : QString());
            if (cell)
                block.cells[{row - area.firstRow, column - area.firstColumn}] = *cell;
        }
        block.text += fields.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    if (cut) {
        block.cutFrom = std::static_pointer_cast<ExcelWorkbook>(book.shared_from_this());
        block.cutSheet = &sheet;
        block.cutRange = area;
    }
    if (haveClipboard())
        QGuiApplication::clipboard()->setText(block.text);
    application.copied() = std::move(block);
}

void SheetEditing::paste(ExcelApplication& application, ExcelWorkbook& book, Worksheet& sheet,
                         const CellRange& at)
{
    const QString clipboard = haveClipboard() ? QGuiApplication::clipboard()->text() : QString();
    auto& copied = application.copied();
    CellRange pasted = CellRange::cell(at.firstRow, at.firstColumn);
    if (copied && (!haveClipboard() || clipboard == copied->text)) {
        if (copied->cutSheet) {
            auto from = copied->cutFrom.lock();
            if (from && from->isOpen()) {
                const CellRange source = copied->cutRange;
                for (int row = source.firstRow; row <= source.lastRow; ++row)
                    for (int column = source.firstColumn; column <= source.lastColumn; ++column)
                        copied->cutSheet->removeCell(row, column);
            }
        }
        for (const auto& [offset, cell] : copied->cells) {
            const int row = at.firstRow + offset.first;
            const int column = at.firstColumn + offset.second;
            if (row <= CellRange::kMaxRows && column <= CellRange::kMaxColumns)
                sheet.cell(row, column) = cell;
        }
        pasted.lastRow = std::min(CellRange::kMaxRows, at.firstRow + copied->rows - 1);
        pasted.lastColumn = std::min(CellRange::kMaxColumns, at.firstColumn + copied->columns - 1);
        if (copied->cutSheet)
            copied.reset();
    } else {
        if (clipboard.isEmpty())
            throw AutomationError("the clipboard holds nothing to paste");
        QString text = clipboard;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QStringList fields = lines[i].split(QLatin1Char('\t'));
            const int row = at.firstRow + static_cast<int>(i);
            if (row > CellRange::kMaxRows)
                break;
            for (qsizetype j = 0; j < fields.size(); ++j) {
                const int column = at.firstColumn + static_cast<int>(j);
                if (column > CellRange::kMaxColumns)
                    break;
                if (!fields[j].isEmpty())
                    sheet.setFormula(row, column, fields[j]);
                pasted.lastColumn = std::max(pasted.lastColumn, column);
            }
            pasted.lastRow = row;
        }
    }
    SheetState& state = book.state(sheet);
    state.selection = pasted;
    state.activeRow = pasted.firstRow;
    state.activeColumn = pasted.firstColumn;
}

void SheetEditing::insert(ExcelWorkbook&, Worksheet& sheet, const CellRange& range,
                          ExcelRange::Shape shape, int shift)
{
    const bool down = shape == ExcelRange::Shape::Rows
        || (shape == ExcelRange::Shape::Cells && shift != -4161);
    const int count = down ? range.rowCount() : range.columnCount();
    // The band that moves: from the range on, across the range's columns (or rows).
    auto moves = [&](int row, int column) {
        return down ? row >= range.firstRow && column >= range.firstColumn && column <= range.lastColumn
                    : column >= range.firstColumn && row >= range.firstRow && row <= range.lastRow;
    };
    std::vector<std::pair<Worksheet::CellKey, Cell>> moved;
    for (const auto& [key, cell] : sheet.cells()) {
        if (moves(key.first, key.second))
            moved.emplace_back(key, cell);
    }
    for (const auto& [key, cell] : moved)
        sheet.removeCell(key.first, key.second);
    for (const auto& [key, cell] : moved) {
        const int row = down ? key.first + count : key.first;
        const int column = down ? key.second : key.second + count;
        if (row <= CellRange::kMaxRows && column <= CellRange::kMaxColumns)
            sheet.cell(row, column) = cell;
    }
    std::vector<CellRange> areas;
    for (CellRange area : sheet.merges().areas()) {
        if (moves(area.firstRow, area.firstColumn) && moves(area.lastRow, area.lastColumn)) {
            if (down) {
                area.firstRow += count;
                area.lastRow += count;
            } else {
                area.firstColumn += count;
                area.lastColumn += count;
            }
        }
        if (area.lastRow <= CellRange::kMaxRows && area.lastColumn <= CellRange::kMaxColumns)
            areas.push_back(area);
    }
    sheet.merges() = workbook::MergeList();
    sheet.merges().mergeAll(areas);
    if (shape == ExcelRange::Shape::Rows) {
        std::vector<std::pair<int, double>> heights(sheet.rowHeights().rbegin(), sheet.rowHeights().rend());
        for (const auto& [row, height] : heights) {
            if (row >= range.firstRow && row + count <= CellRange::kMaxRows)
                sheet.setRowHeight(row + count, height);
        }
        for (int row = range.firstRow; row <= range.lastRow; ++row)
            if (sheet.rowHeight(row))
                sheet.setRowHeight(row, fontHeight(sheet, row));
    } else if (shape == ExcelRange::Shape::Columns) {
        std::vector<std::pair<int, double>> widths(sheet.columnWidths().rbegin(), sheet.columnWidths().rend());
        for (const auto& [column, width] : widths) {
            if (column >= range.firstColumn && column + count <= CellRange::kMaxColumns)
                sheet.setColumnWidth(column + count, width);
        }
        for (int column = range.firstColumn; column <= range.lastColumn; ++column)
            sheet.setColumnWidth(column, Worksheet::kDefaultColumnWidth);
    }
}

void SheetEditing::autoFit(Worksheet& sheet, const CellRange& range, bool columns)
{
    const auto part = usedPart(sheet, range);
    if (!part)
        return;
    if (!columns) {
        for (int row = part->firstRow; row <= part->lastRow; ++row)
            sheet.setRowHeight(row, fontHeight(sheet, row));
        return;
    }
    std::map<int, double> widths;
    for (const auto& [key, cell] : sheet.cells()) {
        if (!part->contains(key.first, key.second) || sheet.merges().areaAt(key.first, key.second))
            continue;
        const double scale = cell.format.font.size / 10.0 * (cell.format.font.bold ? 1.1 : 1.0);
        const double width = shownText(cell).size() * scale + 0.71;
        widths[key.second] = std::max(widths[key.second], std::min(255.0, width));
    }
    for (const auto& [column, width] : widths)
        sheet.setColumnWidth(column, width);
}

void SheetEditing::autoFormat(ExcelRange& range)
{
    const CellRange area = range.range();
    workbook::BorderLine thin;
    thin.style = workbook::LineStyle::Continuous;
    range.forEachCell([&](int row, int, Cell& cell) {
        cell.format.borders.setAll(thin);
        if (row == area.firstRow)
            cell.format.font.bold = true;
    });
    autoFit(range.sheet(), area, true);
}

int SheetEditing::replace(Worksheet& sheet, const CellRange& range, const QString& sought,
                          const QString& replacement, bool whole, bool matchCase)
{
    if (sought.isEmpty())
        return 0;
    const Qt::CaseSensitivity sensitivity = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    std::vector<std::pair<Worksheet::CellKey, QString>> changes;
    for (const auto& [key, cell] : sheet.cells()) {
        if (!range.contains(key.first, key.second) || !cell.formula.isEmpty() || cell.value.isEmpty())
            continue;
        const QString text = cell.value.toText();
        if (whole) {
            if (text.compare(sought, sensitivity) == 0)
                changes.emplace_back(key, replacement);
        } else if (text.contains(sought, sensitivity)) {
            changes.emplace_back(key, QString(text).replace(sought, replacement, sensitivity));
        }
    }
    for (const auto& [key, text] : changes)
        sheet.setFormula(key.first, key.second, text);
    return static_cast<int>(changes.size());
}

} // namespace platform::automation::excel
