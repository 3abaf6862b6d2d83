#pragma once

#include <cstdint>
#include <string_view>

// The number readers of the order files. Texts are Windows-1251 bytes; only ASCII digits, signs,
// points and blanks matter to them.
namespace app {

// Fields read as a decimal number (code and quantity): leading blanks skipped, an optional "-"
// ("+" ends the reading), digits, "." or "," as the point, fraction digits and, only after a
// point, an exponent. Reading stops at the first other character; no number gives 0.
double decimalNumber(std::string_view text);

// The standard text-to-floating-point conversion of the leading number (price and sum): leading
// blanks, an optional "+" or "-", digits with "." as the only point, an optional exponent. Only
// the first 39 characters are looked at; no number gives 0. Beyond the range of a REAL the
// value is held at the largest one of its sign.
double leadingReal(std::string_view text);

// Whether the standard conversion consumes the whole text (trailing blanks removed first); an
// empty text is not a number.
bool isCompleteNumber(std::string_view text);

// A value truncated toward zero, held to the range of the target (infinities and huge values
// give the nearest limit).
int32_t truncatedLong(double value);
// A value truncated toward zero, held to the range of a 16-bit field (70000 is 32767, not the
// low 16 bits of it).
int16_t truncatedShort(double value);

} // namespace app
