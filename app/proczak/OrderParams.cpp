#include "app/proczak/OrderParams.h"

#include <cstdio>
#include <limits>

namespace app {

namespace {

// Right-aligned in width places; a number too wide keeps its last digits so the positions of
// the fields after it never shift.
std::string rightAligned(long long value, std::size_t width, bool zeros)
{
    char text[32];
    std::snprintf(text, sizeof text, zeros ? "%0*lld" : "%*lld", static_cast<int>(width), value);
    std::string result(text);
    if (result.size() > width)
        result.erase(0, result.size() - width);
    return result;
}

template <std::size_t N>
std::string padded(const FixedString<N>& text)
{
    return std::string(text.view());
}

std::string finished(std::string params)
{
    params.resize(OrderParamsSize, ' ');
    return params;
}

} // namespace

std::string ItemOrderParams(const PriosnRecord& item)
{
    return finished(rightAligned(item.KOD, 8, true) + padded(item.OBOZ) + padded(item.NAIM) +
                    rightAligned(item.KOLVUP, 5, false));
}

std::string BasketLineParams(const KorzakRecord& line)
{
    return finished(rightAligned(line.KOD, 8, true) + padded(line.OBOZ) + padded(line.NAIM) +
                    rightAligned(line.KOL, 8, false) + rightAligned(line.UPAK, 5, false));
}

int32_t wholeNumber(std::string_view field)
{
    std::size_t at = 0;
    while (at < field.size() && field[at] == ' ')
        ++at;
    bool negative = false;
    if (at < field.size() && field[at] == '-') {
        negative = true;
        ++at;
    }
    long long value = 0;
    for (; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at) {
        value = value * 10 + (field[at] - '0');
        if (value > std::numeric_limits<int32_t>::max())
            value = std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(negative ? -value : value);
}

std::string_view paramsField(std::string_view params, std::size_t first, std::size_t last)
{
    if (first < 1 || first > params.size())
        return {};
    const std::size_t count = std::min(last, params.size()) - first + 1;
    return params.substr(first - 1, count);
}

} // namespace app
