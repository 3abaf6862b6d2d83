#include "Picture.h"

#include "DayNumber.h"
#include "DecimalDigits.h"
#include "RealText.h"

#include <cmath>
#include <limits>

namespace platform::text {

namespace {

constexpr int kMaxWidth = 255; // pictures are short; a larger number is a typo, not a width

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Reads an unsigned number at pos; -1 when there is none or it is too large.
int readNumber(std::string_view text, std::size_t& pos)
{
    if (pos >= text.size() || !isDigit(text[pos]))
        return -1;
    int value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        value = value * 10 + (text[pos++] - '0');
        if (value > kMaxWidth)
            return -1;
    }
    return value;
}

std::string rightAligned(const std::string& text, int width)
{
    const auto w = static_cast<std::size_t>(width);
    if (text.size() > w)
        return std::string(w, '#');
    return std::string(w - text.size(), ' ') + text;
}

std::string twoDigits(int value, char leadingZero)
{
    std::string out(2, leadingZero);
    out[0] = value >= 10 ? static_cast<char>('0' + value / 10) : leadingZero;
    out[1] = static_cast<char>('0' + value % 10);
    return out;
}

} // namespace

std::string formatNumber(double value, std::string_view picture)
{
    // n[_]W[.D]
    std::size_t pos = 0;
    if (picture.empty() || lowerAscii(picture[0]) != 'n')
        return realToText(value);
    ++pos;
    if (pos < picture.size() && picture[pos] == '_')
        ++pos;
    const int width = readNumber(picture, pos);
    int decimals = 0;
    if (pos < picture.size() && picture[pos] == '.') {
        ++pos;
        decimals = readNumber(picture, pos);
    }
    if (width < 0 || decimals < 0 || pos != picture.size())
        return realToText(value);

    if (!std::isfinite(value))
        return std::string(static_cast<std::size_t>(width), '#');
    DecimalDigits digits(value);
    digits.roundTo(decimals);
    // A value that rounds to zero shows no sign.
    std::string text = digits.isNegative() ? "-" : "";
    text += digits.fixed(decimals);
    return rightAligned(text, width);
}

std::string formatText(std::string_view text, std::string_view picture)
{
    std::size_t pos = 2;
    if (picture.size() < 3 || picture[0] != '@' || lowerAscii(picture[1]) != 's')
        return std::string(text);
    const int width = readNumber(picture, pos);
    if (width < 0 || pos != picture.size())
        return std::string(text);
    std::string out(text.substr(0, static_cast<std::size_t>(width)));
    out.resize(static_cast<std::size_t>(width), ' ');
    return out;
}

std::string formatDate(int32_t dayNumber, std::string_view picture)
{
    // d6<separator>: " 8.12.2026". An empty or impossible date gives blanks of the same width.
    if (picture.size() != 3 || lowerAscii(picture[0]) != 'd' || picture[1] != '6')
        return {};
    const char separator = picture[2];
    const CalendarDate date = calendarDate(dayNumber);
    if (date.year == 0)
        return std::string(10, ' ');
    std::string out = twoDigits(date.day, ' ');
    out += separator;
    out += twoDigits(date.month, '0');
    out += separator;
    out += std::to_string(date.year);
    return out;
}

std::string formatTime(int32_t clock, std::string_view picture)
{
    // T1: " 9:05". No time (0) or a value beyond one day gives blanks.
    constexpr int32_t kDay = 24 * 60 * 60 * 100;
    if (picture.size() != 2 || lowerAscii(picture[0]) != 't' || picture[1] != '1')
        return {};
    if (clock < 1 || clock > kDay)
        return std::string(5, ' ');
    const int32_t minutesOfDay = (clock - 1) / 6000;
    std::string out = twoDigits(minutesOfDay / 60, ' ');
    out += ':';
    out += twoDigits(minutesOfDay % 60, '0');
    return out;
}

std::string formatPage(int32_t page, std::string_view pattern)
{
    // The text between the 'p' marks; the run of '<' and '#' is the number's place. The number
    // starts at the first place; blanks fill the rest of the places only when text follows, so
    // a footer ends with its number.
    std::string_view body = pattern;
    if (body.size() >= 2 && lowerAscii(body.front()) == 'p' && lowerAscii(body.back()) == 'p')
        body = body.substr(1, body.size() - 2);
    const std::size_t start = body.find_first_of("<#");
    if (start == std::string_view::npos)
        return std::string(body);
    std::size_t end = start;
    while (end < body.size() && (body[end] == '<' || body[end] == '#'))
        ++end;

    std::string out(body.substr(0, start));
    const std::string number = std::to_string(page);
    out += number;
    const std::string_view rest = body.substr(end);
    if (!rest.empty()) {
        if (number.size() < end - start)
            out.append(end - start - number.size(), ' ');
        out += rest;
    }
    return out;
}

std::string format(double value, std::string_view picture)
{
    if (picture.empty())
        return realToText(value);
    auto wholeNumber = [&]() -> int32_t {
        if (!std::isfinite(value) || value < std::numeric_limits<int32_t>::min() ||
            value > std::numeric_limits<int32_t>::max())
            return 0;
        return static_cast<int32_t>(value);
    };
    switch (lowerAscii(picture[0])) {
    case 'n':
        return formatNumber(value, picture);
    case '@':
        return formatText(realToText(value), picture);
    case 'd':
        return formatDate(wholeNumber(), picture);
    case 't':
        return formatTime(wholeNumber(), picture);
    case 'p':
        return formatPage(wholeNumber(), picture);
    default:
        return realToText(value);
    }
}

} // namespace platform::text
