#pragma once

#include <string>

namespace platform::text {

// A finite double as at most 15 significant decimal digits: the value is
// 0.<digits> x 10^pointPosition. Fifteen digits is what a double holds reliably, so values such
// as 0.335 * 3 read as 1.005 and round the way a person rounds them.
class DecimalDigits
{
public:
    explicit DecimalDigits(double value);

    bool isZero() const { return m_digits.empty(); }
    bool isNegative() const { return m_negative && !isZero(); }
    // Number of digits left of the point (may be zero or negative for small values).
    int pointPosition() const { return m_pointPosition; }
    const std::string& digits() const { return m_digits; }
    // Digits needed after the point to show the value exactly.
    int decimals() const;

    // Rounds half away from zero to the given number of places after the point.
    void roundTo(int decimals);

    // The magnitude with exactly the given number of places after the point (no sign).
    std::string fixed(int decimals) const;

private:
    void stripTrailingZeros();

    bool m_negative = false;
    std::string m_digits; // no leading or trailing zeros; empty for zero
    int m_pointPosition = 0;
};

} // namespace platform::text
