#pragma once

#include <QRect>
#include <QSize>

#include <memory>
#include <vector>

namespace platform::ui {

class Window;

// Keeps a window's controls placed when the window is resized.
//   Resize::Off      controls stay where the definition put them;
//   Resize::Surface  every control's position and size scale with the window;
//   Resize::Anchor   lists and tab sheets grow with the window; every other control keeps its
//                    size and its distance from the edges nearest to it (a button in the lower
//                    right half stays at the lower right corner).
// The window's size when the resizer is attached can be made its minimum size.
class WindowResizer
{
public:
    enum Strategy { Off = 0, Surface = 1, Anchor = 2 };

    WindowResizer();
    ~WindowResizer();
    WindowResizer(const WindowResizer&) = delete;
    WindowResizer& operator=(const WindowResizer&) = delete;

    // Remembers the controls' places in the opened window.
    void init(Window& window, int strategy, bool minimumIsOpeningSize);
    // Places the controls for the window's present size (run on every resize event).
    void resize();
    void kill();

    int strategy() const { return m_strategy; }
    QSize minimumSize() const { return m_minimum; }

    // Where a control first at `from` in a client area first `original` goes when the area
    // is `now` (pure, for the tests).
    static QRect place(int strategy, const QRect& from, const QSize& original, const QSize& now,
                       bool grows);

private:
    struct Placed
    {
        int control;
        QRect from;
        bool grows;
    };

    Window* m_window = nullptr;
    int m_strategy = Off;
    QSize m_original;
    QSize m_minimum;
    std::vector<Placed> m_controls;
    std::shared_ptr<bool> m_alive;
};

} // namespace platform::ui
