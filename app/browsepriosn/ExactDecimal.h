#pragma once

#include <cstdint>

// A number kept as an exact fraction, for layout arithmetic written with decimal constants:
// 600 x 0.3 is exactly 180 here, where binary floating point may land just below it and a cut
// to a whole number would lose one.
namespace app {

class ExactDecimal
{
public:
    ExactDecimal(int64_t whole = 0) // NOLINT: a whole number is a decimal
        : m_numerator(whole)
    {
    }

    // A decimal constant given by its digits and places: of(75, 2) is 0.75.
    static ExactDecimal of(int64_t digits, int places);

    ExactDecimal operator+(const ExactDecimal& other) const;
    ExactDecimal operator-(const ExactDecimal& other) const;
    ExactDecimal operator*(const ExactDecimal& other) const;
    // Division by zero gives zero rather than a fault.
    ExactDecimal operator/(const ExactDecimal& other) const;
    bool operator==(const ExactDecimal& other) const;

    // Rounded to a whole number, halves away from zero.
    int64_t rounded() const;
    // Cut to a whole number: the fraction is dropped.
    int64_t cut() const;

private:
    ExactDecimal(int64_t numerator, int64_t denominator);

    int64_t m_numerator;
    int64_t m_denominator = 1;
};

} // namespace app
