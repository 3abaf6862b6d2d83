// The price-list text file as the load reads it: its bytes gathered into lines, each line split
// into its fields and read as numbers and texts.
#include "app/ipmprice/PriceListLineAssembler.h"
#include "app/ipmprice/PriceListTextLine.h"
#include "fuzz/support/FuzzCheck.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using app::PriceListLineAssembler;
using app::PriceListTextLine;
using fuzzsupport::require;

namespace {

// What a price-list record can take: short texts without trailing blanks or NUL bytes, and
// finite numbers.
void checkFields(const PriceListTextLine& line)
{
    for (const std::string* text :
         {&line.designation, &line.name, &line.applicability, &line.manufacturer, &line.group}) {
        require(text->size() <= PriceListTextLine::TextLength, "a text field fits the record");
        require(text->empty() || text->back() != ' ', "a text field has no trailing blank");
        require(text->find('\0') == std::string::npos, "a text field holds no NUL byte");
    }
    require(std::isfinite(line.price), "the price is a finite number");
    require(std::isfinite(line.weight), "the weight is a finite number");
    require(line.fields >= 1 && line.fields <= 10, "a line carries one to ten fields");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PriceListLineAssembler assembler;
    for (size_t i = 0; i < size; ++i) {
        if (!assembler.take(data[i]))
            continue;
        require(assembler.line().size() <= PriceListLineAssembler::MaxLength,
                "a line keeps at most its first 500 bytes");
        if (const auto line = PriceListTextLine::parse(assembler.line()))
            checkFields(*line);
    }
    return 0;
}
