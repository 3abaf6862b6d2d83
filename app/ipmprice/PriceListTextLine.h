#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One line of the price-list text file: ten fields separated by ";" (no quoting), leading
// blanks of the line removed. Fields 1 to 9 lie between the separators; the group is the whole
// text after the last ";"; a field holds at most 250 characters and loses its trailing blanks.
// A line with fewer fields leaves the missing ones blank or zero.
namespace app {

struct PriceListTextLine
{
    static constexpr std::size_t MaxFieldLength = 250;
    static constexpr std::size_t TextLength = 50; // what the price list stores of a text field

    int32_t code = 0;
    std::string designation;
    std::string name;
    std::string applicability;
    int16_t packQuantity = 0;
    double price = 0;
    std::string manufacturer; // as written, leading blanks kept
    int32_t secondCode = 0;   // the code when the line leaves it blank
    double weight = 0;
    std::string group;
    int fields = 0; // how many fields the line carried (1 to 10)

    // The fields of one line (without its LF); nothing for a line that is empty or blank.
    static std::optional<PriceListTextLine> parse(std::string_view line);
};

// Written as a price list writes its lines: at least nine separators, and a code that is a
// whole number in digits (blanks around it, an optional "-"). A file whose lines are mostly
// not so is probably no price list, though each of them can still be read.
bool looksLikePriceLine(std::string_view line);

} // namespace app
