#pragma once

#include <QFont>

// Dialog units of a window font: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height.
namespace platform::ui {

class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    int fromPixelsX(int pixels) const;
    int fromPixelsY(int pixels) const;
    // The pixels between the edges of a span that starts at `start` units: each edge is
    // converted on its own, so spans that meet in units meet in pixels, with no overlap or gap
    // from rounding their sizes apart.
    int spanX(int start, int length) const;
    int spanY(int start, int length) const;

    int averageWidth() const { return m_averageWidth; }
    int height() const { return m_height; }

private:
    int m_averageWidth;
    int m_height;
};

} // namespace platform::ui
