#pragma once

#include "app/browsepriosn/PriceWindowFit.h"

namespace platform::ui {
class ListControl;
class Window;
class WindowResizer;
} // namespace platform::ui

// Fits the opened price-list window into the frame's client area: places its controls by
// the fitting arithmetic, gives its controls and lists smaller fonts, and leaves the resizer
// following the fitted places.
namespace app {

class PriceWindowFitter
{
public:
    PriceWindowFitter(platform::ui::Window& window, platform::ui::WindowResizer* resizer,
                      platform::ui::ListControl* priceList, platform::ui::ListControl* basketList);

    // The window's place and size and its controls' places, in dialog units.
    static PriceWindowLayout read(const platform::ui::Window& window);

    // Runs the phases the client size asks for; nothing when the window already fits. A client
    // area below NarrowestFit x LowestFit is fitted as one of that size.
    void fit(int clientWidth, int clientHeight);

private:
    void narrow(int clientWidth);
    void lower(int clientHeight);
    void smallerListFonts();
    void write(const PriceWindowLayout& before, const PriceWindowLayout& after);
    void setFontSize(int control, int points);

    platform::ui::Window& m_window;
    platform::ui::WindowResizer* m_resizer;
    platform::ui::ListControl* m_priceList;
    platform::ui::ListControl* m_basketList;
};

} // namespace app
