#include "platform/ui/list/WindowResizer.h"

#include <gtest/gtest.h>

using platform::ui::WindowResizer;

namespace {

const QSize opened(500, 300);
const QSize larger(700, 420);

TEST(WindowResizer, AnchorGrowsListsAndKeepsOtherControlsAtTheirNearestEdges)
{
    // A list filling most of the window grows by the whole change.
    EXPECT_EQ(WindowResizer::place(WindowResizer::Anchor, QRect(10, 5, 480, 250), opened, larger,
                                   true),
              QRect(10, 5, 680, 370));
    // A button at the lower left moves down only; one at the lower right moves both ways.
    EXPECT_EQ(WindowResizer::place(WindowResizer::Anchor, QRect(20, 270, 60, 20), opened, larger,
                                   false),
              QRect(20, 390, 60, 20));
    EXPECT_EQ(WindowResizer::place(WindowResizer::Anchor, QRect(440, 270, 50, 20), opened, larger,
                                   false),
              QRect(640, 390, 50, 20));
    // Upper right: moves right only, keeps its size.
    EXPECT_EQ(WindowResizer::place(WindowResizer::Anchor, QRect(430, 20, 50, 20), opened, larger,
                                   false),
              QRect(630, 20, 50, 20));
}

TEST(WindowResizer, SurfaceScalesAndOffKeepsEverything)
{
    EXPECT_EQ(WindowResizer::place(WindowResizer::Surface, QRect(100, 30, 50, 20), opened,
                                   QSize(1000, 600), false),
              QRect(200, 60, 100, 40));
    EXPECT_EQ(WindowResizer::place(WindowResizer::Off, QRect(100, 30, 50, 20), opened, larger, true),
              QRect(100, 30, 50, 20));
}

TEST(WindowResizer, AShrunkenWindowNeverGivesAListANegativeSize)
{
    const QRect placed = WindowResizer::place(WindowResizer::Anchor, QRect(10, 5, 100, 50), opened,
                                              QSize(100, 40), true);
    EXPECT_GE(placed.width(), 1);
    EXPECT_GE(placed.height(), 1);
}

} // namespace
