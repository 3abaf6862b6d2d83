#include "app/orderworkbook/ImportOrderFromExcel.h"

#include "app/dictionary/Dictionary.h"
#include "app/ordertext/ImportOrderFromText.h"
#include "office/ExcelAutomation.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace app {
namespace {

using platform::text::w;

// The seventh blank A cell of the sheet ends the reading, adjacent or not.
constexpr int kBlankCellsToStop = 7;

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
    if (text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The leading decimal number of the text ("." as the point), 0 when there is none.
double leadingNumber(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && std::isfinite(value) ? value : 0;
}

// A price as Excel may return it: "," read as the point.
double realOf(std::string text)
{
    text.resize(std::min<size_t>(text.size(), 100));
    std::replace(text.begin(), text.end(), ',', '.');
    return leadingNumber(text);
}

// Truncated toward zero; values beyond the range give 0 rather than an undefined conversion.
int64_t wholeOf(double value)
{
    return std::fabs(value) < 9.0e18 ? static_cast<int64_t>(value) : 0;
}

int64_t wholeOf(std::string_view text)
{
    return wholeOf(leadingNumber(text));
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
    for (int row = 1;; ++row) {
        const std::string r = std::to_string(row);
        const std::string a = excel.GetRangeValue("A" + r).substr(0, 200);
        if (trimmed(a).empty()) {
            if (++blanks == kBlankCellsToStop)
                break;
            continue;
        }
        const auto code = completeNumber(a);
        if (!code)
            continue; // the title, requisites and heading rows
        KorzakRecord k{};
        k.KOD = static_cast<int32_t>(wholeOf(*code));
        k.OBOZ = excel.GetRangeValue("B" + r).substr(0, 50);
        k.NAIM = excel.GetRangeValue("C" + r).substr(0, 50);
        k.PROIZV = excel.GetRangeValue("D" + r).substr(0, 50);
        // The field is 16 bits: only the low bits of the quantity are kept.
        k.KOL = static_cast<int16_t>(static_cast<uint16_t>(wholeOf(excel.GetRangeValue("E" + r))));
        k.CENA = realOf(excel.GetRangeValue("F" + r));
        k.SUMMA = realOf(excel.GetRangeValue("G" + r));
        k.UPAK = 0; // the workbook does not carry the pack size
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
    if (const int failed = replaceBasket(lines)) {
        platform::ui::message(w("Не удалось записать заказ в корзину (ошибка ") +
                                  std::to_string(failed) + ").",
                              w("Ошибка"), MessageIcon::Hand);
        return false;
    }
    return true;
}

} // namespace app
