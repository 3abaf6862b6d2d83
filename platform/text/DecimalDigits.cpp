#include "DecimalDigits.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace platform::text {

namespace {
constexpr int kSignificantDigits = 15;
}

DecimalDigits::DecimalDigits(double value)
{
    m_negative = std::signbit(value);
    if (value == 0 || !std::isfinite(value))
        return;
    // Scientific form "d.dddddddddddddde+XX"; to_chars ignores the C locale, which Qt sets
    // from the environment (a Russian locale would print a comma).
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    m_digits.reserve(kSignificantDigits);
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            m_digits += text[i];
    int exponent = 0;
    std::string_view exponentText = text.substr(e + 1);
    if (!exponentText.empty() && exponentText.front() == '+')
        exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    m_pointPosition = exponent + 1;
    stripTrailingZeros();
}

int DecimalDigits::decimals() const
{
    const int after = static_cast<int>(m_digits.size()) - m_pointPosition;
    return after > 0 ? after : 0;
}

void DecimalDigits::roundTo(int decimals)
{
    const long keep = static_cast<long>(m_pointPosition) + decimals;
    if (keep >= static_cast<long>(m_digits.size()))
        return;
    if (keep < 0) {
        m_digits.clear();
        return;
    }
    const bool up = m_digits[static_cast<std::size_t>(keep)] >= '5';
    m_digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = m_digits.size();
        while (i > 0 && m_digits[i - 1] == '9')
            m_digits[--i] = '0';
        if (i == 0) {
            m_digits.insert(m_digits.begin(), '1');
            ++m_pointPosition;
        } else {
            ++m_digits[i - 1];
        }
    }
    stripTrailingZeros();
}

std::string DecimalDigits::fixed(int decimals) const
{
    std::string out;
    const int size = static_cast<int>(m_digits.size());
    auto digitAt = [&](int index) {
        return index >= 0 && index < size ? m_digits[static_cast<std::size_t>(index)] : '0';
    };
    if (m_pointPosition <= 0 || isZero()) {
        out += '0';
    } else {
        for (int i = 0; i < m_pointPosition; ++i)
            out += digitAt(i);
    }
    if (decimals > 0) {
        out += '.';
        for (int i = 0; i < decimals; ++i)
            out += isZero() ? '0' : digitAt(m_pointPosition + i);
    }
    return out;
}

void DecimalDigits::stripTrailingZeros()
{
    while (!m_digits.empty() && m_digits.back() == '0')
        m_digits.pop_back();
    if (m_digits.empty())
        m_pointPosition = 0;
}

} // namespace platform::text
