#pragma once

#include <map>

// Where the price-list window's controls go when the window is fitted into a frame whose
// client area is smaller than the window: pure arithmetic over the controls' places, in the
// window's dialog units, with the decimal constants taken exactly.
namespace app {

struct Box
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Box&) const = default;
};

struct PriceWindowLayout
{
    Box window;                  // the window itself: its place in the frame and its size
    std::map<int, Box> controls; // by control number

    Box& operator[](int control) { return controls[control]; }
};

// The smallest client area the arithmetic lays the window out well in. Narrower, "Заказать"
// reaches past the window's edge (below 484 units), the heading covers the last search tab and
// the basket's heading loses its text; lower, the search prompts sink onto the tab bar and the
// rows of basket buttons grow too thin for their captions. A smaller client area is fitted as
// one of this size, and the frame's client area scrolls to the rest.
inline constexpr int NarrowestFit = 526;
inline constexpr int LowestFit = 294;

// Fitting is needed when the window is wider or taller than the frame's client area; a client
// area of no size (no frame known) asks for nothing.
bool fitNeeded(const Box& window, int clientWidth, int clientHeight);
bool tooWide(const Box& window, int clientWidth);
bool tooLow(const Box& window, int clientHeight);

// The window goes to the left edge; lists, sheets and the separator take the client width;
// the headings move right; the buttons spread by fixed fractions of the width.
void fitToWidth(PriceWindowLayout& layout, int clientWidth);

// The window goes to the top; the height is split between the two halves by fixed fractions,
// and the rows of buttons and labels below each list follow it.
void fitToHeight(PriceWindowLayout& layout, int clientHeight);

} // namespace app
