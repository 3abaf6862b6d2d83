#include "app/browsepriosn/ExactDecimal.h"

#include <numeric>

namespace app {

ExactDecimal::ExactDecimal(int64_t numerator, int64_t denominator)
{
    if (denominator == 0) {
        m_numerator = 0;
        m_denominator = 1;
        return;
    }
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const int64_t common = std::gcd(numerator, denominator);
    m_numerator = common > 1 ? numerator / common : numerator;
    m_denominator = common > 1 ? denominator / common : denominator;
}

ExactDecimal ExactDecimal::of(int64_t digits, int places)
{
    int64_t denominator = 1;
    for (int i = 0; i < places; ++i)
        denominator *= 10;
    return ExactDecimal(digits, denominator);
}

ExactDecimal ExactDecimal::operator+(const ExactDecimal& other) const
{
    return ExactDecimal(m_numerator * other.m_denominator + other.m_numerator * m_denominator,
                        m_denominator * other.m_denominator);
}

ExactDecimal ExactDecimal::operator-(const ExactDecimal& other) const
{
    return ExactDecimal(m_numerator * other.m_denominator - other.m_numerator * m_denominator,
                        m_denominator * other.m_denominator);
}

ExactDecimal ExactDecimal::operator*(const ExactDecimal& other) const
{
    return ExactDecimal(m_numerator * other.m_numerator, m_denominator * other.m_denominator);
}

ExactDecimal ExactDecimal::operator/(const ExactDecimal& other) const
{
    return ExactDecimal(m_numerator * other.m_denominator, m_denominator * other.m_numerator);
}

bool ExactDecimal::operator==(const ExactDecimal& other) const
{
    return m_numerator == other.m_numerator && m_denominator == other.m_denominator;
}

int64_t ExactDecimal::rounded() const
{
    // Twice the value plus or minus one, halved and cut, rounds halves away from zero.
    const int64_t twice = 2 * m_numerator;
    return m_numerator >= 0 ? (twice + m_denominator) / (2 * m_denominator)
                            : (twice - m_denominator) / (2 * m_denominator);
}

int64_t ExactDecimal::cut() const
{
    return m_numerator / m_denominator;
}

} // namespace app
