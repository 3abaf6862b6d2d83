#include "app/ipmprice/PriceNumberReadings.h"

#include <cmath>
#include <limits>
#include <string>
#include "platform/text/RealText.h"

namespace app {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

// Where an exponent ("e", optional sign, at least one digit) starting at `at` ends; `at` when
// there is none.
std::size_t exponentEnd(std::string_view text, std::size_t at)
{
    if (at >= text.size() || (text[at] != 'e' && text[at] != 'E'))
        return at;
    std::size_t i = at + 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t digits = skipDigits(text, i);
    return digits > i ? digits : at;
}

// A number beyond the range of a REAL is held at the largest one of its sign (a price of
// "-1e309" or of 400 digits is not stored as infinite, nor read as 0); one too small to hold
// reads as 0.
double parsed(std::string_view number)
{
    const double value = platform::text::textToReal(number);
    if (std::isinf(value))
        return std::copysign(std::numeric_limits<double>::max(), value);
    return value;
}

} // namespace

int32_t readWholeNumber(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ')
        ++at;
    const std::size_t start = at;
    if (at < text.size() && text[at] == '-')
        ++at;
    const std::size_t wholeEnd = skipDigits(text, at);
    if (wholeEnd == at)
        return 0;
    std::string number(text.substr(start, wholeEnd - start));
    std::size_t end = wholeEnd;
    if (end < text.size() && (text[end] == '.' || text[end] == ',')) {
        const std::size_t fractionEnd = skipDigits(text, end + 1);
        number += '.';
        number += text.substr(end + 1, fractionEnd - end - 1);
        const std::size_t exponent = exponentEnd(text, fractionEnd);
        number += text.substr(fractionEnd, exponent - fractionEnd);
    }
    double value = parsed(number);
    if (number[0] == '-' && value > 0)
        value = -value;
    value = std::trunc(value);
    if (!(value < 2147483647.0))
        return std::numeric_limits<int32_t>::max();
    if (!(value > -2147483648.0))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

double readDecimalNumber(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const std::size_t digitsStart = at;
    std::size_t end = skipDigits(text, at);
    bool anyDigit = end > digitsStart;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = skipDigits(text, end + 1);
        anyDigit = anyDigit || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!anyDigit)
        return 0;
    end = exponentEnd(text, end);
    const double value = parsed(text.substr(digitsStart, end - digitsStart));
    return negative ? -value : value;
}

double readFilteredDecimalNumber(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    bool point = false;
    bool exponent = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            kept += c;
        } else if (c == '.' && !point) {
            point = true;
            kept += c;
        } else if ((c == 'e' || c == 'E') && !exponent) {
            exponent = true;
            kept += c;
        } else if (c == '-' && i == 0) {
            kept += c;
        } else if ((c == '+' || c == '-') && i > 0 && (text[i - 1] == 'e' || text[i - 1] == 'E')) {
            kept += c;
        }
    }
    return readDecimalNumber(kept);
}

} // namespace app
