#pragma once

#include <QRect>
#include <QSize>

#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

class Window;

// Keeps a window's controls placed when the window is resized.
//   Default  lists, tab sheets and lines follow the window's size while every other control
//            keeps its size: the change of size is shared among the lists (stacked lists each
//            take a part, in proportion to their lengths) and every control moves with the
//            lists before it, so nothing overlaps and the buttons spread with the lists;
//   Surface  every control's position and size scale with the window;
//   Anchor   lists and tab sheets grow with the window; every other control keeps its
//            size and its distance from the edges nearest to it (a button in the lower
//            right half stays at the lower right corner);
//   Off      controls stay where the definition put them.
// The window's size when the resizer is attached can be made its minimum size.
class WindowResizer
{
public:
    enum Strategy { Default = 0, Surface = 1, Anchor = 2, Off = 3 };

    // How a control takes part in the Default strategy.
    enum class Role { Keeps, Follows, Leads }; // Leads: a list, whose spans share the growth

    struct Piece
    {
        QRect from;
        Role role;
    };

    WindowResizer();
    ~WindowResizer();
    WindowResizer(const WindowResizer&) = delete;
    WindowResizer& operator=(const WindowResizer&) = delete;

    // Remembers the controls' places in the opened window.
    void init(Window& window, int strategy, bool minimumIsOpeningSize);
    // Places the controls for the window's present size (run on every resize event).
    void resize();
    // Takes the controls' present places and the present size as the ones to follow from
    // (after a procedure placed the controls itself, e.g. to fit the window into a frame);
    // with the minimum flag the present size becomes the minimum.
    void rebase();
    // While off, resizes leave the controls where they are and the window has no minimum size,
    // so a procedure can place the controls and size the window itself; switched on again,
    // the window's size then is its minimum (with the flag).
    void setEnabled(bool on);
    bool enabled() const { return m_enabled; }
    void kill();

    int strategy() const { return m_strategy; }
    QSize minimumSize() const { return m_minimum; }

    // Where a control first at `from` in a client area first `original` goes when the area
    // is `now` (pure, for the tests; Surface, Anchor and Off).
    static QRect place(int strategy, const QRect& from, const QSize& original, const QSize& now,
                       bool grows);
    // Where all controls go in the Default strategy (pure, for the tests).
    static std::vector<QRect> follow(const std::vector<Piece>& pieces, const QSize& original,
                                     const QSize& now);
    static Role roleOf(const std::string& kind);

private:
    struct Placed
    {
        int control;
        QRect from;
        bool grows;
        Role role;
    };

    void remember();
    void takeMinimum();
    void applyMinimum(bool on);

    Window* m_window = nullptr;
    int m_strategy = Off;
    bool m_enabled = true;
    bool m_keepMinimum = false;
    QSize m_original;
    QSize m_minimum;
    std::vector<Placed> m_controls;
    std::shared_ptr<bool> m_alive;
};

} // namespace platform::ui
