#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Every conversion between a REAL and its text goes through here. The program's numbers always
// have "." as the point, whatever locale the environment gives the C library: Qt takes the
// environment's locale at start, and under a Russian one the C library reads "14225.79" as
// 14225 and writes "14225,79".
namespace platform::text {

// The default text form of a REAL: at most 15 significant digits, "." as the point, no
// thousands separator, no trailing zeros after the point and no trailing point
// (12.5, 100, 0.35, -3). Plain digits for 1e-6 <= |value| < 1e21 (1e20 gives
// "100000000000000000000"); beyond that the exponent form "1e+21", "1.5e-07". Zero and -0 give
// "0"; NaN and infinities give "nan", "inf", "-inf".
std::string realToText(double value);

// The value with exactly `decimals` places after the point, correctly rounded ("%.*f" of the C
// locale): realFixedText(2.5, 2) is "2.50", realFixedText(-0.004, 2) is "-0.00".
std::string realFixedText(double value, int decimals);

// The number a text starts with: blanks skipped, an optional sign, digits with "." as the
// point, an optional exponent, or "inf"/"nan". `used` counts the bytes read, blanks included;
// 0 when the text does not start with a number (value 0 then). Values beyond the range of a
// double read as an infinity, values too small as zero, as the C library's reader gives them.
struct RealReading {
    double value = 0.0;
    std::size_t used = 0;
};
RealReading readReal(std::string_view text);

// The leading number of a text, 0 when it has none ("12.5 kg" is 12.5, "abc" is 0).
double textToReal(std::string_view text);

// The text as one number with nothing but blanks around it; nullopt otherwise.
std::optional<double> wholeTextToReal(std::string_view text);

} // namespace platform::text
