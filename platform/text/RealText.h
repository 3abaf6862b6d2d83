#pragma once

#include <string>

namespace platform::text {

// The default text form of a REAL: at most 15 significant digits, "." as the point, no
// thousands separator, no trailing zeros after the point and no trailing point
// (12.5, 100, 0.35, -3).
std::string realToText(double value);

} // namespace platform::text
