#include "RealText.h"

#include "DecimalDigits.h"

#include <cmath>

namespace platform::text {

namespace {
// Plain digits for 1e-6 <= |value| < 1e21; outside that range the exponent form keeps the
// text short ("1e+21", "1.5e-07").
constexpr int kLowestPlainPoint = -5;
constexpr int kHighestPlainPoint = 21;
} // namespace

std::string realToText(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";

    const DecimalDigits digits(value);
    if (digits.isZero())
        return "0";

    std::string out = digits.isNegative() ? "-" : "";
    const int point = digits.pointPosition();
    if (point >= kLowestPlainPoint && point <= kHighestPlainPoint) {
        out += digits.fixed(digits.decimals());
        return out;
    }

    const std::string& d = digits.digits();
    out += d[0];
    if (d.size() > 1) {
        out += '.';
        out.append(d, 1);
    }
    const int exponent = point - 1;
    out += exponent < 0 ? "e-" : "e+";
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        out += '0';
    out += std::to_string(magnitude);
    return out;
}

} // namespace platform::text
