#include "WindowTestSupport.h"

#include "platform/ui/list/WindowResizer.h"

#include <QWidget>

// The window's resizing switch and the resizer's minimum size, as the fitting of a window into
// its frame uses them: the program still sizes a window the user may not resize, and a minimum
// size can be let go and taken again from the present size.
using namespace platform::ui;

namespace {

class WindowResizingSwitch : public uitest::WindowTest
{
};

TEST_F(WindowResizingSwitch, AFixedWindowStillTakesTheProgramsSizeAndComesBackResizable)
{
    Window window(loadWindowDefinition("sample", "P1$WINDOW"));
    window.open();
    QWidget* top = window.topWidget();
    EXPECT_EQ(window.property(0, Property::Resizable), "1");

    window.setProperty(0, Property::Resizable, 0);
    EXPECT_EQ(window.property(0, Property::Resizable), "0");
    EXPECT_EQ(top->minimumSize(), top->size());
    EXPECT_EQ(top->maximumSize(), top->size());

    window.setProperty(0, Property::Width, 150);
    window.setProperty(0, Property::Height, 100);
    EXPECT_EQ(window.propertyNumber(0, Property::Width), 150);
    EXPECT_EQ(window.propertyNumber(0, Property::Height), 100);
    EXPECT_EQ(top->maximumSize(), top->size()); // still held at the size it was given

    window.setProperty(0, Property::Resizable, 1);
    EXPECT_EQ(top->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    EXPECT_EQ(top->minimumSize(), QSize(0, 0));
    window.finish();
}

TEST_F(WindowResizingSwitch, AReleasedMinimumLetsTheWindowShrinkAndRebaseTakesTheNewSize)
{
    Window window(loadWindowDefinition("sample", "P1$WINDOW"));
    window.open();
    WindowResizer resizer;
    resizer.init(window, WindowResizer::Default, true);
    QWidget* top = window.topWidget();
    const QSize opening = top->size();

    // Held by the minimum, a smaller size does not take.
    window.setProperty(0, Property::Width, 150);
    EXPECT_EQ(window.propertyNumber(0, Property::Width), 200);

    resizer.releaseMinimum();
    window.setProperty(0, Property::Width, 150);
    EXPECT_EQ(window.propertyNumber(0, Property::Width), 150);
    resizer.rebase();
    EXPECT_EQ(top->minimumSize(), top->size());
    EXPECT_LT(top->width(), opening.width());
    window.finish();
}

} // namespace
