#pragma once

// The runtime's REAL rules the basket depends on.
namespace app {

// Rounded half away from zero to the given places, on the value's 15-digit decimal form, so
// 3 x 0.335 (1.0049999... in binary) gives 1.01 as a person expects.
double roundHalfUp(double value, int decimals);

// The runtime's REAL equality: identical, or the difference's binary exponent more than 50
// below the exponent of either value (a zero value counting with the exponent of 1.0).
bool realEqual(double a, double b);

} // namespace app
