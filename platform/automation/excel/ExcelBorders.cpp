#include "platform/automation/excel/ExcelBorders.h"

#include "platform/automation/excel/ExcelRange.h"
#include "platform/automation/excel/ExcelWorkbook.h"

#include <functional>
#include <set>

namespace platform::automation::excel {

using workbook::BorderLine;
using workbook::Edge;
using workbook::LineStyle;
using workbook::Palette;

ExcelBorders::ExcelBorders(std::shared_ptr<ExcelRange> range, int edge)
    : m_range(std::move(range)), m_edge(edge)
{
}

AutomationValue ExcelBorders::get(std::string_view member, const Arguments& arguments)
{
    if (is(member, "Item")) {
        const int edge = static_cast<int>(argument(arguments, 0).toInteger());
        if (edge < 5 || edge > 12)
            fail("Borders has no edge " + argument(arguments, 0).toText());
        return AutomationValue::object(std::make_shared<ExcelBorders>(m_range, edge));
    }
    noArguments(member, arguments);
    const Edge shown = m_edge >= 7 && m_edge <= 10 ? static_cast<Edge>(m_edge) : Edge::Left;
    const BorderLine line = m_range->formatAt().borders.edge(shown);
    if (is(member, "LineStyle"))
        return AutomationValue::number(static_cast<int>(line.style));
    if (is(member, "Weight"))
        return AutomationValue::number(static_cast<int>(line.weight));
    if (is(member, "ColorIndex"))
        return AutomationValue::number(line.colorIndex);
    unknown(member);
}

void ExcelBorders::set(std::string_view member, const Arguments& arguments, const AutomationValue& value)
{
    m_range->book().markChanged();
    noArguments(member, arguments);
    const long long number = value.toInteger();
    std::function<void(BorderLine&)> change;
    if (is(member, "LineStyle")) {
        static const std::set<long long> styles{1, -4115, 4, 5, -4118, -4119, 13, -4142};
        if (!value.isNumeric() || !styles.contains(number))
            fail("Borders.LineStyle cannot be " + value.toText());
        change = [number](BorderLine& line) { line.style = static_cast<LineStyle>(number); };
    } else if (is(member, "Weight")) {
        static const std::set<long long> weights{1, 2, -4138, 4};
        if (!value.isNumeric() || !weights.contains(number))
            fail("Borders.Weight cannot be " + value.toText());
        change = [number](BorderLine& line) {
            line.weight = static_cast<workbook::BorderWeight>(number);
            if (!line.isVisible())
                line.style = LineStyle::Continuous;
        };
    } else if (is(member, "ColorIndex")) {
        int index = static_cast<int>(number);
        if (index == Palette::kNone)
            index = Palette::kAutomatic;
        if (!value.isNumeric() || (!Palette::isIndex(index) && index != Palette::kAutomatic))
            fail("Borders.ColorIndex cannot be " + value.toText());
        change = [index](BorderLine& line) {
            line.colorIndex = index;
            if (!line.isVisible())
                line.style = LineStyle::Continuous;
        };
    } else {
        AutomationObject::set(member, arguments, value);
    }
    if (m_edge == 5 || m_edge == 6)
        return;
    const workbook::CellRange range = m_range->range();
    const int edge = m_edge;
    m_range->forEachCell([&](int row, int column, workbook::Cell& cell) {
        workbook::Borders& borders = cell.format.borders;
        const bool left = column == range.firstColumn, right = column == range.lastColumn;
        const bool top = row == range.firstRow, bottom = row == range.lastRow;
        switch (edge) {
        case 0:
            for (Edge each : {Edge::Left, Edge::Top, Edge::Bottom, Edge::Right})
                change(borders.edge(each));
            break;
        case 7: if (left) change(borders.edge(Edge::Left)); break;
        case 8: if (top) change(borders.edge(Edge::Top)); break;
        case 9: if (bottom) change(borders.edge(Edge::Bottom)); break;
        case 10: if (right) change(borders.edge(Edge::Right)); break;
        case 11:
            if (!left) change(borders.edge(Edge::Left));
            if (!right) change(borders.edge(Edge::Right));
            break;
        case 12:
            if (!top) change(borders.edge(Edge::Top));
            if (!bottom) change(borders.edge(Edge::Bottom));
            break;
        default: break;
        }
    });
}

} // namespace platform::automation::excel
