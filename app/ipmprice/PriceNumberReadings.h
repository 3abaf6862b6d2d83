#pragma once

#include <cstdint>
#include <string_view>

// The three ways a price-list field is read as a number. Each reads as much of the text as
// forms a number and ignores the rest; a text without a number reads as 0. A number beyond
// the range of its result is held at the nearest limit.
namespace app {

// Blanks, an optional "-" (a "+" gives 0), digits, optionally "." or "," with further digits and
// then an exponent; the fraction is dropped towards zero. An exponent straight after the whole
// digits is not taken ("5e2" is 5). Values beyond 32 bits are held at the nearest limit.
int32_t readWholeNumber(std::string_view text);

// White space, an optional sign, digits with an optional "." and fraction, an optional exponent.
// Only "." is a decimal point: "12,50" reads as 12.
double readDecimalNumber(std::string_view text);

// Keeps only the digits, the first ".", the first "e"/"E", a leading "-" and a sign straight
// after an "e"/"E", then reads the rest as a decimal number: "0,250" reads as 250.
double readFilteredDecimalNumber(std::string_view text);

} // namespace app
