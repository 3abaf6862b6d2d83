#include "app/browsepriosn/RealArithmetic.h"

#include "platform/text/DecimalDigits.h"

#include <cmath>
#include <string>
#include "platform/text/RealText.h"

namespace app {

double roundHalfUp(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    platform::text::DecimalDigits digits(value);
    digits.roundTo(decimals);
    const std::string text = (digits.isNegative() ? "-" : "") + digits.fixed(decimals);
    return platform::text::textToReal(text);
}

bool realEqual(double a, double b)
{
    if (a == b)
        return true;
    const double difference = a - b;
    if (!std::isfinite(difference))
        return false;
    const auto exponent = [](double v) { return v == 0.0 ? std::ilogb(1.0) : std::ilogb(v); };
    const int differenceExponent = std::ilogb(difference);
    return differenceExponent < exponent(a) - 50 || differenceExponent < exponent(b) - 50;
}

} // namespace app
