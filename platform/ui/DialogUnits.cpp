#include "platform/ui/DialogUnits.h"

#include <QFontMetrics>

#include <algorithm>

namespace platform::ui {
namespace {

// Rounds a * b / c to the nearest whole number, halves away from zero.
int mulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    // The average width is measured over the Latin letters, as the dialog units of the
    // original platform were.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_averageWidth = std::max(1, (letters / 26 + 1) / 2);
    m_height = std::max(1, metrics.height());
}

int DialogUnits::toPixelsX(int units) const
{
    return mulDiv(units, m_averageWidth, 4);
}
int DialogUnits::toPixelsY(int units) const
{
    return mulDiv(units, m_height, 8);
}
int DialogUnits::fromPixelsX(int pixels) const
{
    return mulDiv(pixels, 4, m_averageWidth);
}
int DialogUnits::fromPixelsY(int pixels) const
{
    return mulDiv(pixels, 8, m_height);
}

int DialogUnits::spanX(int start, int length) const
{
    return toPixelsX(start + length) - toPixelsX(start);
}
int DialogUnits::spanY(int start, int length) const
{
    return toPixelsY(start + length) - toPixelsY(start);
}

} // namespace platform::ui
