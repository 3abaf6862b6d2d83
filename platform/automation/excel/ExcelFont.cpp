#include "platform/automation/excel/ExcelFont.h"

#include "platform/automation/excel/ExcelRange.h"
#include "platform/automation/excel/ExcelWorkbook.h"
#include "platform/text/Cp1251.h"

namespace platform::automation::excel {

using workbook::Palette;
using workbook::Underline;

ExcelFont::ExcelFont(std::shared_ptr<ExcelRange> range) : m_range(std::move(range)) {}

AutomationValue ExcelFont::get(std::string_view member, const Arguments& arguments)
{
    noArguments(member, arguments);
    const workbook::Font font = m_range->formatAt().font;
    if (is(member, "Bold"))
        return AutomationValue::boolean(font.bold);
    if (is(member, "Italic"))
        return AutomationValue::boolean(font.italic);
    if (is(member, "Size"))
        return AutomationValue::number(font.size);
    if (is(member, "Name"))
        return AutomationValue::text(platform::text::fromQString(font.name));
    if (is(member, "ColorIndex"))
        return AutomationValue::number(font.colorIndex);
    if (is(member, "Underline"))
        return AutomationValue::number(static_cast<int>(font.underline));
    unknown(member);
}

void ExcelFont::set(std::string_view member, const Arguments& arguments, const AutomationValue& value)
{
    m_range->book().markChanged();
    noArguments(member, arguments);
    std::function<void(workbook::Font&)> change;
    if (is(member, "Bold")) {
        const bool bold = value.toBoolean();
        change = [bold](workbook::Font& font) { font.bold = bold; };
    } else if (is(member, "Italic")) {
        const bool italic = value.toBoolean();
        change = [italic](workbook::Font& font) { font.italic = italic; };
    } else if (is(member, "Size")) {
        const double size = value.toNumber();
        if (!value.isNumeric() || size < 1 || size > 409)
            fail("Font.Size cannot be " + value.toText());
        change = [size](workbook::Font& font) { font.size = size; };
    } else if (is(member, "Name")) {
        const QString name = platform::text::toQString(value.toText()).trimmed();
        if (name.isEmpty())
            fail("Font.Name cannot be empty");
        change = [name](workbook::Font& font) { font.name = name; };
    } else if (is(member, "ColorIndex")) {
        int index = static_cast<int>(value.toInteger());
        if (index == Palette::kNone)
            index = Palette::kAutomatic;
        if (!value.isNumeric() || (!Palette::isIndex(index) && index != Palette::kAutomatic))
            fail("Font.ColorIndex cannot be " + value.toText());
        change = [index](workbook::Font& font) { font.colorIndex = index; };
    } else if (is(member, "Underline")) {
        Underline underline = value.toBoolean() ? Underline::Single : Underline::None;
        if (value.isNumeric()) {
            switch (value.toInteger()) {
            case 0:
            case -4142: underline = Underline::None; break;
            case 1:
            case 2:
            case 4: underline = Underline::Single; break;
            case -4119:
            case 5: underline = Underline::Double; break;
            default: fail("Font.Underline cannot be " + value.toText());
            }
        }
        change = [underline](workbook::Font& font) { font.underline = underline; };
    } else {
        AutomationObject::set(member, arguments, value);
    }
    m_range->forEachCell([&change](int, int, workbook::Cell& cell) { change(cell.format.font); });
}

} // namespace platform::automation::excel
