#pragma once

#include <string>

namespace platform::text {

// The default text form of a REAL: at most 15 significant digits, "." as the point, no
// thousands separator, no trailing zeros after the point and no trailing point
// (12.5, 100, 0.35, -3). Plain digits for 1e-6 <= |value| < 1e21 (1e20 gives
// "100000000000000000000"); beyond that the exponent form "1e+21", "1.5e-07". Zero and -0 give
// "0"; NaN and infinities give "nan", "inf", "-inf".
std::string realToText(double value);

} // namespace platform::text
