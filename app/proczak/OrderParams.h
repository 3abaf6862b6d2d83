#pragma once

#include "app/dictionary/Records.h"

#include <cstdint>
#include <string>
#include <string_view>

// The fixed-position texts that carry an item or a basket line to the quantity dialogs:
// 250 Windows-1251 bytes, numbers right-aligned, texts blank-padded, the rest blank.
namespace app {

inline constexpr std::size_t OrderParamsSize = 250;

// 1-8 code (leading zeros), 9-58 designation, 59-108 name, 109-113 pack quantity.
std::string ItemOrderParams(const PriosnRecord& item);
// 1-8 code, 9-58 designation, 59-108 name, 109-116 quantity, 117-121 pack quantity.
std::string BasketLineParams(const KorzakRecord& line);

// A number field read back: leading blanks skipped, an optional "-", digits; a "." or "," and
// what follows are dropped; reading stops at the first other character; no digits give 0.
int32_t wholeNumber(std::string_view field);

// The bytes at 1-based positions first..last (blanks where the text is shorter).
std::string_view paramsField(std::string_view params, std::size_t first, std::size_t last);

} // namespace app
