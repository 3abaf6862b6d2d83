#include "platform/automation/excel/ExcelInterior.h"

#include "platform/automation/excel/ExcelRange.h"
#include "platform/automation/excel/ExcelWorkbook.h"

namespace platform::automation::excel {

using workbook::Palette;

ExcelInterior::ExcelInterior(std::shared_ptr<ExcelRange> range) : m_range(std::move(range)) {}

AutomationValue ExcelInterior::get(std::string_view member, const Arguments& arguments)
{
    noArguments(member, arguments);
    const int fill = m_range->formatAt().fillColorIndex;
    if (is(member, "ColorIndex"))
        return AutomationValue::number(fill);
    if (is(member, "Pattern"))
        return AutomationValue::number(fill == Palette::kNone ? Palette::kNone : 1);
    if (is(member, "PatternColorIndex"))
        return AutomationValue::number(Palette::kAutomatic);
    unknown(member);
}

void ExcelInterior::set(std::string_view member, const Arguments& arguments,
                        const AutomationValue& value)
{
    m_range->book().markChanged();
    noArguments(member, arguments);
    if (is(member, "ColorIndex")) {
        int index = static_cast<int>(value.toInteger());
        if (index == Palette::kAutomatic)
            index = Palette::kNone;
        if (!value.isNumeric() || (!Palette::isIndex(index) && index != Palette::kNone))
            fail("Interior.ColorIndex cannot be " + value.toText());
        m_range->forEachCell([index](int, int, workbook::Cell& cell) { cell.format.fillColorIndex = index; });
    } else if (is(member, "Pattern")) {
        // Only solid fills are kept: "none" removes the fill, any other pattern keeps the colour.
        if (value.toInteger() == Palette::kNone)
            m_range->forEachCell([](int, int, workbook::Cell& cell) { cell.format.fillColorIndex = Palette::kNone; });
    } else if (is(member, "PatternColorIndex")) {
        // Patterns are drawn solid, so their second colour has nothing to set.
    } else {
        AutomationObject::set(member, arguments, value);
    }
}

} // namespace platform::automation::excel
