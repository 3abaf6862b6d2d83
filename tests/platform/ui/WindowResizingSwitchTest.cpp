#include "WindowTestSupport.h"

#include <QWidget>

// The window's resizing switch: the program still sizes a window the user may not resize.
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

} // namespace
