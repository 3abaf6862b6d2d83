#include "RealText.h"

#include "DecimalDigits.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace platform::text {

namespace {
// Plain digits for 1e-6 <= |value| < 1e21; outside that range the exponent form keeps the
// text short ("1e+21", "1.5e-07").
constexpr int kLowestPlainPoint = -5;
constexpr int kHighestPlainPoint = 21;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// from_chars leaves the value alone when it is out of range: the magnitude then follows the
// written exponent, or, without one, whether any digit stands before the point.
double outOfRange(std::string_view number)
{
    bool huge = false;
    const auto exponent = number.find_first_of("eE");
    if (exponent != std::string_view::npos) {
        huge = exponent + 1 < number.size() && number[exponent + 1] != '-';
    } else {
        for (const char c : number) {
            if (c == '.')
                break;
            if (c >= '1' && c <= '9')
                huge = true;
        }
    }
    return huge ? std::numeric_limits<double>::infinity() : 0.0;
}
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

std::string realFixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        return realToText(value);
    // 1e308 with 300 places needs about 610 characters.
    char out[640];
    const int places = decimals < 0 ? 0 : (decimals > 300 ? 300 : decimals);
    const auto result =
        std::to_chars(out, out + sizeof out, value, std::chars_format::fixed, places);
    if (result.ec != std::errc())
        return realToText(value);
    return std::string(out, result.ptr);
}

RealReading readReal(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // from_chars takes no sign of its own but "-", and only before the digits.
    if (at >= text.size() || text[at] == '+' || text[at] == '-')
        return {};
    if (!isDigit(text[at]) && text[at] != '.' && text[at] != 'i' && text[at] != 'I' &&
        text[at] != 'n' && text[at] != 'N')
        return {};
    double value = 0.0;
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return {};
    if (result.ec == std::errc::result_out_of_range)
        value = outOfRange(std::string_view(first, static_cast<std::size_t>(result.ptr - first)));
    return {negative ? -value : value, static_cast<std::size_t>(result.ptr - text.data())};
}

double textToReal(std::string_view text)
{
    return readReal(text).value;
}

std::optional<double> wholeTextToReal(std::string_view text)
{
    const RealReading reading = readReal(text);
    if (reading.used == 0)
        return std::nullopt;
    for (std::size_t at = reading.used; at < text.size(); ++at) {
        if (!isBlank(text[at]))
            return std::nullopt;
    }
    return reading.value;
}

} // namespace platform::text
