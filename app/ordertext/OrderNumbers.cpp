#include "app/ordertext/OrderNumbers.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace app {
namespace {

// The standard conversion reads at most this many characters of a field.
constexpr std::size_t kRealWindow = 39;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Text to double in the "C" locale whatever locale the process set (Qt sets the user's). A
// number beyond the range of a REAL is held at the largest one of its sign, never infinite.
double cText(const std::string& text)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const double value = strtod_l(text.c_str(), nullptr, c);
    if (std::isinf(value))
        return std::copysign(std::numeric_limits<double>::max(), value);
    return value;
}

// The standard conversion's grammar: returns the characters it consumes (0: no number) and
// the number's own text for cText.
std::size_t scanReal(std::string_view text, std::string& number)
{
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    std::string out;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        out += text[i++];
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        out += text[i++];
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        out += text[i++];
        while (i < text.size() && isDigit(text[i])) {
            out += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow the "e" and its sign.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            out += std::string(text.substr(i, j - i));
            i = j;
        }
    }
    number = std::move(out);
    return i;
}

} // namespace

double decimalNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::string out;
    if (i < text.size() && text[i] == '-')
        out += text[i++];
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        out += text[i++];
        ++digits;
    }
    bool point = false;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        point = true;
        out += '.';
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            out += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (point && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            out += std::string(text.substr(i, j - i));
        }
    }
    return cText(out);
}

double leadingReal(std::string_view text)
{
    std::string number;
    if (scanReal(text.substr(0, kRealWindow), number) == 0)
        return 0;
    return cText(number);
}

bool isCompleteNumber(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > kRealWindow)
        return false;
    std::string number;
    return scanReal(text, number) == text.size();
}

int32_t truncatedLong(double value)
{
    if (std::isnan(value))
        return 0;
    const double t = std::trunc(value);
    if (t >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (t <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(t);
}

int16_t truncatedShort(double value)
{
    const int32_t whole = truncatedLong(value);
    if (whole > std::numeric_limits<int16_t>::max())
        return std::numeric_limits<int16_t>::max();
    if (whole < std::numeric_limits<int16_t>::min())
        return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(whole);
}

} // namespace app
