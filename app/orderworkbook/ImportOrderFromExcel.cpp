#include "app/orderworkbook/ImportOrderFromExcel.h"

#include "app/dictionary/Dictionary.h"
#include "app/ordertext/ImportOrderFromText.h"
#include "office/ExcelAutomation.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include "platform/text/RealText.h"

namespace app {
namespace {

using platform::text::w;

// The seventh blank A cell of the sheet ends the reading, adjacent or not.
constexpr int kBlankCellsToStop = 7;
// The last row of a sheet: a column A filled to the end stops there.
constexpr int kLastSheetRow = 1048576;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The value when the whole text (blanks around it aside) is one decimal number.
std::optional<double> completeNumber(std::string_view text)
{
    text = trimmed(text);
    if (text.empty() || text.find_first_of("0123456789") == std::string_view::npos)
        return std::nullopt;
    const std::optional<double> value = platform::text::wholeTextToReal(text);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

// The leading decimal number of the text ("." as the point), 0 when there is none.
double leadingNumber(std::string_view text)
{
    const double value = platform::text::textToReal(text);
    return std::isfinite(value) ? value : 0;
}

// A price as Excel may return it: "," read as the point.
double realOf(std::string text)
{
    text.resize(std::min<size_t>(text.size(), 100));
    std::replace(text.begin(), text.end(), ',', '.');
    return leadingNumber(text);
}

// Truncated toward zero and held at the limits of the field, as the price list does for codes.
template <typename Field> Field fieldOf(double value)
{
    using limits = std::numeric_limits<Field>;
    if (!(value < static_cast<double>(limits::max())))
        return limits::max();
    if (!(value > static_cast<double>(limits::min())))
        return limits::min();
    return static_cast<Field>(value);
}

// A cell's text for a text field: a NUL byte ends it, as it ends a text everywhere else.
std::string textOf(const std::string& cellText, size_t fieldSize)
{
    return cellText.substr(0, std::min(cellText.find('\0'), fieldSize));
}

} // namespace

bool readOrderWorkbook(office::ExcelAutomation& excel, std::string_view fileName,
                       std::vector<KorzakRecord>& lines)
{
    lines.clear();
    std::string name(fileName);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    if (!platform::storage::fileExists(name))
        return false;
    const int32_t before = office::OfficeAutomation::numberOf(excel.GetProperty("Workbooks.Count"));
    excel.OpenWorkbook(name);
    // Excel answers nothing about the open; a file it could not read adds no workbook.
    if (office::OfficeAutomation::numberOf(excel.GetProperty("Workbooks.Count")) <= before)
        return false;
    int blanks = 0;
    for (int row = 1; row <= kLastSheetRow; ++row) {
        const std::string r = std::to_string(row);
        const std::string a = textOf(excel.GetRangeValue("A" + r), 200);
        if (trimmed(a).empty()) {
            if (++blanks == kBlankCellsToStop)
                break;
            continue;
        }
        const auto code = completeNumber(a);
        if (!code)
            continue; // the title, requisites and heading rows
        const double quantity = leadingNumber(excel.GetRangeValue("E" + r));
        if (quantity < 0)
            continue; // a negative quantity is no order line
        KorzakRecord k{};
        k.KOD = fieldOf<int32_t>(*code);
        k.OBOZ = textOf(excel.GetRangeValue("B" + r), 50);
        k.NAIM = textOf(excel.GetRangeValue("C" + r), 50);
        k.PROIZV = textOf(excel.GetRangeValue("D" + r), 50);
        k.KOL = fieldOf<int16_t>(quantity);
        k.CENA = realOf(excel.GetRangeValue("F" + r));
        k.SUMMA = realOf(excel.GetRangeValue("G" + r));
        k.UPAK = 0; // the workbook does not carry it: the basket takes the price list's
        lines.push_back(k);
    }
    excel.CloseActiveWindow(1);
    return true;
}

bool ImportOrderFromExcel(office::ExcelAutomation& excel, std::string_view fileName)
{
    using platform::ui::MessageIcon;
    std::vector<KorzakRecord> lines;
    if (!readOrderWorkbook(excel, fileName, lines)) {
        const std::string name(trimmed(fileName));
        const std::string why = platform::storage::fileExists(name)
                                    ? w("Не удалось прочитать файл заказа ")
                                    : w("Файл заказа не найден: ");
        platform::ui::message(why + name + w(". Заказ не изменён."), w("Ошибка"),
                              MessageIcon::Hand);
        return false;
    }
    return takeOrderLines(lines, fileName);
}

} // namespace app
