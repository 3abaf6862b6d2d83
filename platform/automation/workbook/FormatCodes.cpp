#include "platform/automation/workbook/FormatCodes.h"

#include <array>

namespace platform::automation::workbook {
namespace {

constexpr std::array<HorizontalAlignment, 8> kHorizontal = {
    HorizontalAlignment::General,
    HorizontalAlignment::Left,
    HorizontalAlignment::Center,
    HorizontalAlignment::Right,
    HorizontalAlignment::Fill,
    HorizontalAlignment::Justify,
    HorizontalAlignment::CenterAcrossSelection,
    HorizontalAlignment::Distributed,
};

constexpr std::array<VerticalAlignment, 5> kVertical = {
    VerticalAlignment::Top,     VerticalAlignment::Center,      VerticalAlignment::Bottom,
    VerticalAlignment::Justify, VerticalAlignment::Distributed,
};

bool heavy(BorderWeight weight)
{
    return weight == BorderWeight::Medium || weight == BorderWeight::Thick;
}

} // namespace

int FormatCodes::borderCode(const BorderLine& line)
{
    switch (line.style) {
    case LineStyle::None:
        return 0;
    case LineStyle::Continuous:
        switch (line.weight) {
        case BorderWeight::Hairline:
            return 7;
        case BorderWeight::Medium:
            return 2;
        case BorderWeight::Thick:
            return 5;
        case BorderWeight::Thin:
            return 1;
        }
        return 1;
    case LineStyle::Dash:
        return heavy(line.weight) ? 8 : 3;
    case LineStyle::Dot:
        return 4;
    case LineStyle::Double:
        return 6;
    case LineStyle::DashDot:
        return heavy(line.weight) ? 10 : 9;
    case LineStyle::DashDotDot:
        return heavy(line.weight) ? 12 : 11;
    case LineStyle::SlantDashDot:
        return 13;
    }
    return 0;
}

BorderLine FormatCodes::borderFromCode(int code, int colorIndex)
{
    struct Pair
    {
        LineStyle style;
        BorderWeight weight;
    };
    static constexpr std::array<Pair, 14> kCodes = {{
        {LineStyle::None, BorderWeight::Thin},
        {LineStyle::Continuous, BorderWeight::Thin},
        {LineStyle::Continuous, BorderWeight::Medium},
        {LineStyle::Dash, BorderWeight::Thin},
        {LineStyle::Dot, BorderWeight::Thin},
        {LineStyle::Continuous, BorderWeight::Thick},
        {LineStyle::Double, BorderWeight::Thick},
        {LineStyle::Continuous, BorderWeight::Hairline},
        {LineStyle::Dash, BorderWeight::Medium},
        {LineStyle::DashDot, BorderWeight::Thin},
        {LineStyle::DashDot, BorderWeight::Medium},
        {LineStyle::DashDotDot, BorderWeight::Thin},
        {LineStyle::DashDotDot, BorderWeight::Medium},
        {LineStyle::SlantDashDot, BorderWeight::Medium},
    }};
    if (code <= 0 || code >= static_cast<int>(kCodes.size())) {
        return {};
    }
    const Pair& pair = kCodes[static_cast<size_t>(code)];
    return BorderLine{pair.style, pair.weight, colorIndex};
}

int FormatCodes::horizontalCode(HorizontalAlignment alignment)
{
    for (size_t code = 0; code < kHorizontal.size(); ++code) {
        if (kHorizontal[code] == alignment) {
            return static_cast<int>(code);
        }
    }
    return 0;
}

HorizontalAlignment FormatCodes::horizontalFromCode(int code)
{
    return code >= 0 && code < static_cast<int>(kHorizontal.size())
               ? kHorizontal[static_cast<size_t>(code)]
               : HorizontalAlignment::General;
}

int FormatCodes::verticalCode(VerticalAlignment alignment)
{
    for (size_t code = 0; code < kVertical.size(); ++code) {
        if (kVertical[code] == alignment) {
            return static_cast<int>(code);
        }
    }
    return 2;
}

VerticalAlignment FormatCodes::verticalFromCode(int code)
{
    return code >= 0 && code < static_cast<int>(kVertical.size())
               ? kVertical[static_cast<size_t>(code)]
               : VerticalAlignment::Bottom;
}

uint16_t FormatCodes::biffColor(int colorIndex, uint16_t automatic)
{
    return Palette::isIndex(colorIndex) ? static_cast<uint16_t>(colorIndex + 7) : automatic;
}

int FormatCodes::colorFromBiff(int biffColor)
{
    // 0 to 7 are the fixed colours black .. cyan, the same as the palette's first eight.
    if (biffColor >= 0 && biffColor <= 7) {
        return biffColor + 1;
    }
    if (biffColor >= 8 && biffColor <= 63) {
        return biffColor - 7;
    }
    return Palette::kAutomatic;
}

} // namespace platform::automation::workbook
