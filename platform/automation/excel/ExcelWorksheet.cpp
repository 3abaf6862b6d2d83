#include "platform/automation/excel/ExcelWorksheet.h"

#include "platform/automation/excel/ExcelApplication.h"
#include "platform/automation/excel/ExcelRange.h"
#include "platform/automation/excel/ExcelWorkbook.h"
#include "platform/automation/excel/SheetEditing.h"
#include "platform/automation/excel/SheetPrinter.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/text/Cp1251.h"

namespace platform::automation::excel {

using platform::text::fromQString;
using platform::text::toQString;
using workbook::CellRange;

ExcelWorksheet::ExcelWorksheet(std::shared_ptr<ExcelWorkbook> book, workbook::Worksheet* sheet)
    : m_book(std::move(book)), m_sheet(sheet)
{
}

int ExcelWorksheet::index() const
{
    for (int i = 0; i < m_book->model().sheetCount(); ++i) {
        if (&m_book->model().sheet(i) == m_sheet)
            return i;
    }
    fail("the sheet is no longer in its workbook");
}

void ExcelWorksheet::activate()
{
    m_book->model().setActiveSheetIndex(index());
    auto application = m_book->application();
    application->activate(m_book);
}

AutomationValue ExcelWorksheet::rangeOf(std::string_view member, const Arguments& arguments)
{
    const int rows = CellRange::kMaxRows;
    const int columns = CellRange::kMaxColumns;
    if (is(member, "Cells")) {
        if (!given(arguments, 0))
            return AutomationValue::object(std::make_shared<ExcelRange>(
                m_book, m_sheet, CellRange{1, 1, rows, columns}));
        const long long row = argument(arguments, 0).toInteger();
        const long long column = argument(arguments, 1).toInteger();
        if (row < 1 || row > rows || column < 1 || column > columns)
            fail("Cells(" + std::to_string(row) + "," + std::to_string(column) + ") is outside the sheet");
        return AutomationValue::object(std::make_shared<ExcelRange>(
            m_book, m_sheet, CellRange::cell(static_cast<int>(row), static_cast<int>(column))));
    }
    if (is(member, "Columns") || is(member, "Rows")) {
        const bool byColumn = is(member, "Columns");
        const auto shape = byColumn ? ExcelRange::Shape::Columns : ExcelRange::Shape::Rows;
        if (!given(arguments, 0))
            return AutomationValue::object(std::make_shared<ExcelRange>(
                m_book, m_sheet, CellRange{1, 1, rows, columns}, shape));
        const AutomationValue& which = arguments[0];
        if (which.type() == AutomationValue::Type::Number) {
            const long long number = which.toInteger();
            if (number < 1 || number > (byColumn ? columns : rows))
                fail(std::string(member) + "(" + std::to_string(number) + ") is outside the sheet");
            const int n = static_cast<int>(number);
            return AutomationValue::object(std::make_shared<ExcelRange>(
                m_book, m_sheet, byColumn ? CellRange{1, n, rows, n} : CellRange{n, 1, n, columns},
                shape));
        }
        const auto parsed = ExcelRange::parseReference(toQString(which.toText()));
        if (!parsed)
            fail("not a reference: " + which.toText());
        CellRange range = parsed->first;
        if (byColumn) {
            range.firstRow = 1;
            range.lastRow = rows;
        } else {
            range.firstColumn = 1;
            range.lastColumn = columns;
        }
        return AutomationValue::object(std::make_shared<ExcelRange>(m_book, m_sheet, range, shape));
    }
    // Range(reference) or Range(corner, corner).
    if (!given(arguments, 0))
        fail("Range needs a reference");
    auto corners = [](const AutomationValue& value) -> std::pair<CellRange, ExcelRange::Shape> {
        if (value.isObject()) {
            auto* range = dynamic_cast<ExcelRange*>(value.objectValue().get());
            if (!range)
                fail("Range takes a reference or a range");
            return {range->range(), range->shape()};
        }
        const auto parsed = ExcelRange::parseReference(toQString(value.toText()));
        if (!parsed)
            fail("not a reference: " + value.toText());
        return *parsed;
    };
    auto [range, shape] = corners(arguments[0]);
    if (given(arguments, 1)) {
        const auto other = corners(arguments[1]).first;
        range = CellRange{std::min(range.firstRow, other.firstRow),
                          std::min(range.firstColumn, other.firstColumn),
                          std::max(range.lastRow, other.lastRow),
                          std::max(range.lastColumn, other.lastColumn)};
    }
    return AutomationValue::object(std::make_shared<ExcelRange>(m_book, m_sheet, range, shape));
}

AutomationValue ExcelWorksheet::get(std::string_view member, const Arguments& arguments)
{
    if (is(member, "Name"))
        return AutomationValue::text(fromQString(m_sheet->name()));
    if (is(member, "Index"))
        return AutomationValue::number(index() + 1);
    if (is(member, "Select") || is(member, "Activate")) {
        activate();
        return AutomationValue::boolean(true);
    }
    if (is(member, "Range") || is(member, "Cells") || is(member, "Columns") || is(member, "Rows"))
        return rangeOf(member, arguments);
    if (is(member, "UsedRange")) {
        const auto used = m_sheet->usedRange();
        return AutomationValue::object(
            std::make_shared<ExcelRange>(m_book, m_sheet, used.value_or(CellRange::cell(1, 1))));
    }
    if (is(member, "Paste")) {
        m_book->markChanged();
        const SheetState& state = m_book->state(*m_sheet);
        SheetEditing::paste(*m_book->application(), *m_book, *m_sheet,
                            CellRange::cell(state.selection.firstRow, state.selection.firstColumn));
        return AutomationValue::boolean(true);
    }
    if (is(member, "PageSetup"))
        return AutomationValue::object(m_book->state(*m_sheet).pageSetup);
    if (is(member, "PrintOut")) {
        const long long copies = given(arguments, 2) ? arguments[2].toInteger() : 1;
        if (copies <= 0)
            return AutomationValue::boolean(true);
        // The printer, or where there is none, a PDF file the user names (none: nothing).
        QPrinter* printer = platform::ui::PrinterSetup::forJob();
        if (!printer)
            return AutomationValue::boolean(false);
        SheetPrinter::print(*m_sheet, *m_book->state(*m_sheet).pageSetup,
                            static_cast<int>(std::min(copies, 255LL)), *printer);
        platform::ui::PrinterSetup::jobDone();
        return AutomationValue::boolean(true);
    }
    unknown(member);
}

void ExcelWorksheet::set(std::string_view member, const Arguments& arguments,
                         const AutomationValue& value)
{
    if (!is(member, "Name"))
        AutomationObject::set(member, arguments, value);
    noArguments(member, arguments);
    m_book->markChanged();
    if (!m_book->model().renameSheet(index(), toQString(value.toText())))
        fail("the sheet name " + value.toText() + " is not allowed or is taken");
}

} // namespace platform::automation::excel
