#include "platform/automation/excel/ExcelRange.h"

#include "platform/automation/excel/ExcelApplication.h"
#include "platform/automation/excel/ExcelBorders.h"
#include "platform/automation/excel/ExcelFont.h"
#include "platform/automation/excel/ExcelInterior.h"
#include "platform/automation/excel/ExcelWorkbook.h"
#include "platform/automation/excel/ExcelWorksheet.h"
#include "platform/automation/excel/SheetEditing.h"
#include "platform/text/Cp1251.h"

#include <QRegularExpression>

#include <algorithm>
#include <set>

namespace platform::automation::excel {

using platform::text::fromQString;
using platform::text::toQString;
using workbook::CellRange;

namespace {

const std::set<int> kHorizontal{1, -4131, -4108, -4152, 5, -4130, 7, -4117};
const std::set<int> kVertical{-4160, -4108, -4107, -4130, -4117};

int checkedIn(const std::set<int>& allowed, const AutomationValue& value, const char* what)
{
    const long long number = value.toInteger();
    if (!value.isNumeric() || !allowed.contains(static_cast<int>(number)))
        throw AutomationError(std::string(what) + " cannot be " + value.toText());
    return static_cast<int>(number);
}

} // namespace

ExcelRange::ExcelRange(std::shared_ptr<ExcelWorkbook> book, workbook::Worksheet* sheet,
                       CellRange range, Shape shape)
    : m_book(std::move(book)), m_sheet(sheet), m_range(range), m_shape(shape)
{
    // A selection keeps only its cells; whole rows or columns are known by their extent.
    if (m_shape == Shape::Cells && range.firstColumn == 1 && range.lastColumn == CellRange::kMaxColumns
        && range.rowCount() < CellRange::kMaxRows)
        m_shape = Shape::Rows;
    else if (m_shape == Shape::Cells && range.firstRow == 1 && range.lastRow == CellRange::kMaxRows
             && range.columnCount() < CellRange::kMaxColumns)
        m_shape = Shape::Columns;
}

std::optional<std::pair<CellRange, ExcelRange::Shape>> ExcelRange::parseReference(const QString& text)
{
    const QString trimmed = text.trimmed().remove(QLatin1Char('$')).toUpper();
    static const QRegularExpression columns(QStringLiteral("^([A-Z]{1,3}):([A-Z]{1,3})$"));
    static const QRegularExpression rows(QStringLiteral("^([0-9]{1,7}):([0-9]{1,7})$"));
    if (const auto match = columns.match(trimmed); match.hasMatch()) {
        const auto first = CellRange::columnNumber(match.capturedView(1));
        const auto last = CellRange::columnNumber(match.capturedView(2));
        if (!first || !last)
            return std::nullopt;
        return std::pair{CellRange{1, std::min(*first, *last), CellRange::kMaxRows,
                                   std::max(*first, *last)},
                         Shape::Columns};
    }
    if (const auto match = rows.match(trimmed); match.hasMatch()) {
        const int first = match.capturedView(1).toInt();
        const int last = match.capturedView(2).toInt();
        if (first < 1 || last < 1 || first > CellRange::kMaxRows || last > CellRange::kMaxRows)
            return std::nullopt;
        return std::pair{CellRange{std::min(first, last), 1, std::max(first, last),
                                   CellRange::kMaxColumns},
                         Shape::Rows};
    }
    const auto range = CellRange::parse(trimmed);
    if (!range)
        return std::nullopt;
    return std::pair{*range, Shape::Cells};
}

void ExcelRange::forEachCell(const std::function<void(int, int, workbook::Cell&)>& apply)
{
    const long long count = static_cast<long long>(m_range.rowCount()) * m_range.columnCount();
    if (count <= kMaxFilledCells) {
        for (int row = m_range.firstRow; row <= m_range.lastRow; ++row) {
            for (int column = m_range.firstColumn; column <= m_range.lastColumn; ++column)
                apply(row, column, m_sheet->cell(row, column));
        }
        return;
    }
    std::vector<std::pair<int, int>> existing;
    for (const auto& [key, cell] : m_sheet->cells()) {
        if (m_range.contains(key.first, key.second))
            existing.push_back(key);
    }
    for (const auto& [row, column] : existing)
        apply(row, column, m_sheet->cell(row, column));
}

workbook::CellFormat ExcelRange::formatAt() const
{
    const workbook::Cell* cell = m_sheet->cellAt(m_range.firstRow, m_range.firstColumn);
    return cell ? cell->format : workbook::CellFormat{};
}

std::shared_ptr<ExcelRange> ExcelRange::part(const CellRange& range, Shape shape) const
{
    return std::make_shared<ExcelRange>(m_book, m_sheet, range, shape);
}

void ExcelRange::select()
{
    if (!m_book->isOpen())
        fail("the workbook of this range has been closed");
    auto application = m_book->application();
    for (int i = 0; i < m_book->model().sheetCount(); ++i) {
        if (&m_book->model().sheet(i) == m_sheet)
            m_book->model().setActiveSheetIndex(i);
    }
    application->activate(m_book);
    SheetState& state = m_book->state(*m_sheet);
    state.selection = m_range;
    state.activeRow = m_range.firstRow;
    state.activeColumn = m_range.firstColumn;
}

AutomationValue ExcelRange::valueAt(bool formula) const
{
    const workbook::Cell* cell = m_sheet->cellAt(m_range.firstRow, m_range.firstColumn);
    if (!cell)
        return AutomationValue::text({});
    if (formula && !cell->formula.isEmpty())
        return AutomationValue::text(fromQString(cell->formula));
    switch (cell->value.type()) {
    case workbook::CellValue::Type::Number:
        return AutomationValue::number(cell->value.toNumber());
    case workbook::CellValue::Type::Boolean:
        return AutomationValue::boolean(cell->value.toBoolean());
    case workbook::CellValue::Type::Text:
        return AutomationValue::text(fromQString(cell->value.textValue()));
    default:
        return AutomationValue::text({});
    }
}

void ExcelRange::setEntry(const AutomationValue& value)
{
    const long long count = static_cast<long long>(m_range.rowCount()) * m_range.columnCount();
    if (count > kMaxFilledCells)
        fail("too many cells to fill at once: " + fromQString(m_range.toA1()));
    const QString entry = toQString(value.toText());
    for (int row = m_range.firstRow; row <= m_range.lastRow; ++row) {
        for (int column = m_range.firstColumn; column <= m_range.lastColumn; ++column)
            m_sheet->setFormula(row, column, entry);
    }
}

AutomationValue ExcelRange::subRange(bool columns, const Arguments& arguments) const
{
    const Shape shape = columns ? Shape::Columns : Shape::Rows;
    if (!given(arguments, 0))
        return AutomationValue::object(part(m_range, shape));
    const long long n = arguments[0].toInteger();
    const int count = columns ? m_range.columnCount() : m_range.rowCount();
    if (n < 1 || n > count)
        fail(std::string(columns ? "Columns(" : "Rows(") + std::to_string(n) + ") is outside the range");
    CellRange one = m_range;
    if (columns)
        one.firstColumn = one.lastColumn = m_range.firstColumn + static_cast<int>(n) - 1;
    else
        one.firstRow = one.lastRow = m_range.firstRow + static_cast<int>(n) - 1;
    return AutomationValue::object(part(one, shape));
}

AutomationValue ExcelRange::get(std::string_view member, const Arguments& arguments)
{
    for (const char* changing : {"Merge", "UnMerge", "Insert", "AutoFit", "AutoFormat", "Replace",
                                 "Cut", "Paste", "Clear", "ClearContents", "ClearFormats"}) {
        if (is(member, changing))
            m_book->markChanged();
    }
    if (is(member, "Select") || is(member, "Activate")) {
        select();
        return AutomationValue::boolean(true);
    }
    if (is(member, "Value") || is(member, "Value2"))
        return valueAt(false);
    if (is(member, "Formula") || is(member, "FormulaR1C1"))
        return valueAt(true);
    if (is(member, "Text")) {
        const AutomationValue value = valueAt(false);
        const QString format = formatAt().numberFormat;
        if (value.type() == AutomationValue::Type::Number && format == QStringLiteral("0.00"))
            return AutomationValue::text(QString::number(value.toNumber(), 'f', 2).toStdString());
        return AutomationValue::text(value.toText());
    }
    if (is(member, "MergeCells")) {
        const auto area = m_sheet->merges().areaAt(m_range.firstRow, m_range.firstColumn);
        return AutomationValue::boolean(area && area->contains(m_range.lastRow, m_range.lastColumn));
    }
    if (is(member, "Merge")) {
        m_sheet->merges().merge(m_range);
        return AutomationValue::boolean(true);
    }
    if (is(member, "UnMerge")) {
        m_sheet->merges().unmerge(m_range);
        return AutomationValue::boolean(true);
    }
    if (is(member, "Font"))
        return AutomationValue::object(
            std::make_shared<ExcelFont>(std::static_pointer_cast<ExcelRange>(shared_from_this())));
    if (is(member, "Interior"))
        return AutomationValue::object(std::make_shared<ExcelInterior>(
            std::static_pointer_cast<ExcelRange>(shared_from_this())));
    if (is(member, "Borders")) {
        int edge = 0;
        if (given(arguments, 0)) {
            edge = static_cast<int>(arguments[0].toInteger());
            if (edge < 5 || edge > 12)
                fail("Borders has no edge " + arguments[0].toText());
        }
        return AutomationValue::object(std::make_shared<ExcelBorders>(
            std::static_pointer_cast<ExcelRange>(shared_from_this()), edge));
    }
    if (is(member, "HorizontalAlignment"))
        return AutomationValue::number(static_cast<int>(formatAt().alignment.horizontal));
    if (is(member, "VerticalAlignment"))
        return AutomationValue::number(static_cast<int>(formatAt().alignment.vertical));
    if (is(member, "WrapText"))
        return AutomationValue::boolean(formatAt().alignment.wrapText);
    if (is(member, "NumberFormat"))
        return AutomationValue::text(fromQString(formatAt().numberFormat));
    if (is(member, "ColumnWidth"))
        return AutomationValue::number(m_sheet->columnWidth(m_range.firstColumn));
    if (is(member, "RowHeight"))
        return AutomationValue::number(m_sheet->rowHeight(m_range.firstRow)
                                           .value_or(SheetEditing::fontHeight(*m_sheet, m_range.firstRow)));
    if (is(member, "Columns"))
        return subRange(true, arguments);
    if (is(member, "Rows"))
        return subRange(false, arguments);
    if (is(member, "Cells")) {
        if (!given(arguments, 0))
            return AutomationValue::object(part(m_range, Shape::Cells));
        const long long row = m_range.firstRow + argument(arguments, 0).toInteger() - 1;
        const long long column = m_range.firstColumn + argument(arguments, 1).toInteger() - 1;
        if (row < 1 || row > CellRange::kMaxRows || column < 1 || column > CellRange::kMaxColumns)
            fail("Cells is outside the sheet");
        return AutomationValue::object(
            part(CellRange::cell(static_cast<int>(row), static_cast<int>(column)), Shape::Cells));
    }
    if (is(member, "Count")) {
        if (m_shape == Shape::Columns)
            return AutomationValue::number(m_range.columnCount());
        if (m_shape == Shape::Rows)
            return AutomationValue::number(m_range.rowCount());
        return AutomationValue::number(static_cast<double>(m_range.rowCount()) * m_range.columnCount());
    }
    if (is(member, "Row"))
        return AutomationValue::number(m_range.firstRow);
    if (is(member, "Column"))
        return AutomationValue::number(m_range.firstColumn);
    if (is(member, "Address")) {
        auto corner = [](int row, int column) {
            return QStringLiteral("$%1$%2").arg(CellRange::columnName(column)).arg(row);
        };
        QString address = corner(m_range.firstRow, m_range.firstColumn);
        if (!m_range.isSingleCell())
            address += QLatin1Char(':') + corner(m_range.lastRow, m_range.lastColumn);
        return AutomationValue::text(fromQString(address));
    }
    if (is(member, "Worksheet"))
        return AutomationValue::object(std::make_shared<ExcelWorksheet>(m_book, m_sheet));
    if (is(member, "Insert")) {
        SheetEditing::insert(*m_book, *m_sheet, m_range, m_shape,
                             given(arguments, 0) ? static_cast<int>(arguments[0].toInteger()) : 0);
        return AutomationValue::boolean(true);
    }
    if (is(member, "AutoFit")) {
        if (m_shape == Shape::Cells)
            fail("AutoFit needs rows or columns: use Columns.AutoFit or Rows.AutoFit");
        SheetEditing::autoFit(*m_sheet, m_range, m_shape == Shape::Columns);
        return AutomationValue::boolean(true);
    }
    if (is(member, "AutoFilter")) {
        auto& filter = m_book->state(*m_sheet).autoFilter;
        if (filter && !given(arguments, 0))
            filter.reset();
        else
            filter = m_range;
        return AutomationValue::boolean(true);
    }
    if (is(member, "AutoFormat")) {
        SheetEditing::autoFormat(*this);
        return AutomationValue::boolean(true);
    }
    if (is(member, "Replace")) {
        if (!given(arguments, 0) || !given(arguments, 1))
            fail("Replace needs the text sought and its replacement");
        const bool whole = !given(arguments, 2) || arguments[2].toInteger() != 2;
        const bool matchCase = given(arguments, 4) && arguments[4].toBoolean();
        SheetEditing::replace(*m_sheet, m_range, toQString(arguments[0].toText()),
                              toQString(arguments[1].toText()), whole, matchCase);
        return AutomationValue::boolean(true);
    }
    if (is(member, "Copy") || is(member, "Cut")) {
        SheetEditing::copy(*m_book->application(), *m_book, *m_sheet, m_range, is(member, "Cut"));
        return AutomationValue::boolean(true);
    }
    if (is(member, "Paste")) {
        SheetEditing::paste(*m_book->application(), *m_book, *m_sheet, m_range);
        return AutomationValue::boolean(true);
    }
    if (is(member, "Clear") || is(member, "ClearContents") || is(member, "ClearFormats")) {
        const bool contents = !is(member, "ClearFormats");
        const bool formats = !is(member, "ClearContents");
        forEachCell([contents, formats](int, int, workbook::Cell& cell) {
            if (contents) {
                cell.value = {};
                cell.formula.clear();
            }
            if (formats)
                cell.format = {};
        });
        return AutomationValue::boolean(true);
    }
    unknown(member);
}

void ExcelRange::set(std::string_view member, const Arguments& arguments, const AutomationValue& value)
{
    m_book->markChanged();
    if (is(member, "Value") || is(member, "Value2") || is(member, "Formula")
        || is(member, "FormulaR1C1")) {
        setEntry(value);
        return;
    }
    noArguments(member, arguments);
    if (is(member, "MergeCells")) {
        if (value.toBoolean())
            m_sheet->merges().merge(m_range);
        else
            m_sheet->merges().unmerge(m_range);
    } else if (is(member, "HorizontalAlignment")) {
        const auto to = static_cast<workbook::HorizontalAlignment>(
            checkedIn(kHorizontal, value, "HorizontalAlignment"));
        forEachCell([to](int, int, workbook::Cell& cell) { cell.format.alignment.horizontal = to; });
    } else if (is(member, "VerticalAlignment")) {
        const auto to = static_cast<workbook::VerticalAlignment>(
            checkedIn(kVertical, value, "VerticalAlignment"));
        forEachCell([to](int, int, workbook::Cell& cell) { cell.format.alignment.vertical = to; });
    } else if (is(member, "WrapText")) {
        const bool wrap = value.toBoolean();
        forEachCell([wrap](int, int, workbook::Cell& cell) { cell.format.alignment.wrapText = wrap; });
    } else if (is(member, "NumberFormat")) {
        QString format = toQString(value.toText());
        if (format.isEmpty())
            format = QStringLiteral("General");
        forEachCell([&format](int, int, workbook::Cell& cell) { cell.format.numberFormat = format; });
    } else if (is(member, "ColumnWidth")) {
        const double width = value.toNumber();
        if (!value.isNumeric() || width < 0 || width > 255)
            fail("ColumnWidth cannot be " + value.toText());
        for (int column = m_range.firstColumn; column <= m_range.lastColumn; ++column)
            m_sheet->setColumnWidth(column, width);
    } else if (is(member, "RowHeight")) {
        const double height = value.toNumber();
        if (!value.isNumeric() || height < 0 || height > 409.5)
            fail("RowHeight cannot be " + value.toText());
        if (m_range.rowCount() > 65536)
            fail("RowHeight: too many rows at once");
        for (int row = m_range.firstRow; row <= m_range.lastRow; ++row)
            m_sheet->setRowHeight(row, height);
    } else {
        AutomationObject::set(member, arguments, value);
    }
}

} // namespace platform::automation::excel
