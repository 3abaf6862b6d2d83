#include "app/ipmprice/PriceListTextLine.h"

#include "app/ipmprice/PriceNumberReadings.h"

#include <algorithm>
#include <array>
#include <limits>

namespace app {
namespace {

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// A NUL byte ends a text: nothing after it reaches the record.
std::string textField(std::string_view field)
{
    field = field.substr(0, field.find('\0'));
    return std::string(withoutTrailingBlanks(field.substr(0, PriceListTextLine::TextLength)));
}

} // namespace

std::optional<PriceListTextLine> PriceListTextLine::parse(std::string_view line)
{
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    line = withoutTrailingBlanks(line);
    if (line.empty())
        return std::nullopt;

    // Fields 1 to 9, each cut to the field length and without trailing blanks; the text after
    // the last separator is the group.
    std::array<std::string_view, 10> fields{};
    std::size_t number = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] != ';')
            continue;
        const std::string_view field = line.substr(start, i - start).substr(0, MaxFieldLength);
        if (i == line.size())
            fields[9] = withoutTrailingBlanks(field);
        else if (number < 9)
            fields[number] = withoutTrailingBlanks(field);
        ++number;
        start = i + 1;
    }

    PriceListTextLine result;
    result.fields = static_cast<int>(std::min<std::size_t>(number, 10));
    result.code = readWholeNumber(fields[0]);
    result.designation = textField(fields[1]);
    result.name = textField(fields[2]);
    result.applicability = textField(fields[3]);
    // Held at the limits of the 16-bit field, as the code is held at those of its own.
    result.packQuantity = static_cast<int16_t>(
        std::clamp<int32_t>(readWholeNumber(fields[4]), std::numeric_limits<int16_t>::min(),
                            std::numeric_limits<int16_t>::max()));
    result.price = readDecimalNumber(fields[5]);
    result.manufacturer = textField(fields[6]);
    result.secondCode = fields[7].empty() ? result.code : readWholeNumber(fields[7]);
    result.weight = readFilteredDecimalNumber(fields[8]);
    result.group = textField(fields[9]);
    return result;
}

bool looksLikePriceLine(std::string_view line)
{
    std::size_t separators = 0;
    for (std::size_t at = line.find(';'); at != std::string_view::npos && separators < 9;
         at = line.find(';', at + 1))
        ++separators;
    if (separators < 9)
        return false;
    std::string_view code = line.substr(0, line.find(';'));
    while (!code.empty() && code.front() == ' ')
        code.remove_prefix(1);
    code = withoutTrailingBlanks(code);
    if (!code.empty() && code.front() == '-')
        code.remove_prefix(1);
    return !code.empty() &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace app
