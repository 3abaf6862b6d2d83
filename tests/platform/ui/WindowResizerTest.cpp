#include "platform/ui/Control.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/WindowResizer.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

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

using Role = WindowResizer::Role;

// A window of two stacked lists, each in a tab sheet with marker lines, buttons under each
// half and a totals text between the halves (the price-list window's layout).
std::vector<WindowResizer::Piece> twoHalves()
{
    return {
        {QRect(4, 2, 645, 192), Role::Follows},   // 0 upper sheet
        {QRect(9, 38, 631, 153), Role::Leads},    // 1 upper list
        {QRect(1, 39, 0, 153), Role::Follows},    // 2 its marker line
        {QRect(10, 199, 143, 14), Role::Keeps},   // 3 button under the upper list
        {QRect(348, 199, 133, 14), Role::Keeps},  // 4 another one
        {QRect(1, 215, 647, 0), Role::Follows},   // 5 separator
        {QRect(15, 218, 73, 12), Role::Keeps},    // 6 totals text
        {QRect(3, 230, 644, 111), Role::Follows}, // 7 lower sheet
        {QRect(8, 247, 634, 90), Role::Leads},    // 8 lower list
        {QRect(7, 343, 77, 14), Role::Keeps},     // 9 button under the lower list
        {QRect(579, 359, 66, 12), Role::Keeps},   // 10 close button at the lower right
    };
}

TEST(WindowResizer, DefaultSharesTheGrowthAmongStackedListsWithoutOverlaps)
{
    const QSize design(654, 372);
    const QSize maximised(1300, 900);
    const auto pieces = twoHalves();
    const auto placed = WindowResizer::follow(pieces, design, maximised);
    ASSERT_EQ(placed.size(), pieces.size());

    // Both lists take a part of the growth, in proportion to their heights, and stay apart.
    const int dy = maximised.height() - design.height();
    EXPECT_GT(placed[1].height(), 153 + dy / 2);
    EXPECT_GT(placed[8].height(), 90 + dy / 3);
    EXPECT_EQ(placed[1].height() + placed[8].height(), 153 + 90 + dy);
    EXPECT_LT(placed[1].bottom(), placed[3].top());
    EXPECT_LT(placed[6].bottom(), placed[7].top());
    EXPECT_LT(placed[8].bottom(), placed[9].top());
    // The lists and sheets widen to about the new width, each sheet still framing its list;
    // the lines follow their lists.
    const int dx = maximised.width() - design.width();
    EXPECT_NEAR(placed[1].width(), 631 + dx, 4);
    EXPECT_NEAR(placed[8].width(), 634 + dx, 1);
    EXPECT_TRUE(placed[0].contains(placed[1]));
    EXPECT_TRUE(placed[7].contains(placed[8]));
    EXPECT_NEAR(placed[2].top(), placed[1].top(), 3);
    EXPECT_NEAR(placed[2].height(), placed[1].height(), 3);
    EXPECT_NEAR(placed[5].width(), 647 + dx, 2);
    EXPECT_EQ(placed[5].height(), 0);
    // Buttons and texts keep their sizes; the lower buttons keep their distance to the bottom
    // edge and stay inside the window.
    for (int i : {3, 4, 6, 9, 10}) {
        EXPECT_EQ(placed[i].size(), pieces[i].from.size()) << i;
        EXPECT_LE(placed[i].right(), maximised.width()) << i;
    }
    EXPECT_EQ(maximised.height() - placed[9].top(), design.height() - 343);
    // A row of buttons spreads with the lists' width: their order and gaps are kept.
    EXPECT_LT(placed[3].right(), placed[4].left());
    EXPECT_GT(placed[4].left() - placed[3].right(), 348 - 153);
}

TEST(WindowResizer, DefaultAtTheOpeningSizeMovesNothing)
{
    const auto pieces = twoHalves();
    const auto placed = WindowResizer::follow(pieces, QSize(654, 372), QSize(654, 372));
    for (std::size_t i = 0; i < pieces.size(); ++i)
        EXPECT_EQ(placed[i], pieces[i].from) << i;
}

TEST(WindowResizer, DefaultWithoutListsLetsTheSheetsGrow)
{
    const std::vector<WindowResizer::Piece> pieces = {{QRect(5, 5, 200, 100), Role::Follows},
                                                      {QRect(20, 120, 60, 14), Role::Keeps}};
    const auto placed = WindowResizer::follow(pieces, QSize(210, 140), QSize(310, 240));
    EXPECT_EQ(placed[0], QRect(5, 5, 300, 200));
    EXPECT_EQ(placed[1].top(), 220);
    EXPECT_EQ(placed[1].size(), QSize(60, 14));
}

} // namespace

namespace {

using platform::ui::ControlDefinition;
using platform::ui::Property;
using platform::ui::Window;
using platform::ui::WindowDefinition;

ControlDefinition control(int number, const char* label, const char* kind, int x, int y, int width,
                          int height)
{
    ControlDefinition made;
    made.number = number;
    made.label = label;
    made.kind = kind;
    made.at = {x, y, width, height};
    return made;
}

class ResizedWindow : public testing::Test
{
protected:
    ResizedWindow()
    {
        WindowDefinition definition;
        definition.module = "test";
        definition.label = "P1$WINDOW";
        definition.kind = "window";
        definition.at = {0, 0, 200, 150};
        definition.controls = {control(1, "?UPPER", "list", 5, 5, 190, 60),
                               control(2, "?BUTTON1", "button", 5, 70, 50, 14),
                               control(3, "?LOWER", "list", 5, 90, 190, 40),
                               control(4, "?CLOSE", "button", 150, 134, 45, 14)};
        window = std::make_unique<Window>(definition);
        opened = window->content()->size();
    }

    int number(int control, Property property) const
    {
        return window->propertyNumber(control, property);
    }

    std::unique_ptr<Window> window;
    QSize opened;
};

TEST_F(ResizedWindow, PlacesReadThroughThePropertiesFollowTheResize)
{
    WindowResizer resizer;
    resizer.init(*window, WindowResizer::Default, false);
    window->content()->resize(opened.width() + 200, opened.height() + 200);
    resizer.resize();
    // Both lists grew, the button between them moved down past the upper one, and the
    // properties say so (a procedure placing controls after a resize reads them).
    EXPECT_GT(number(1, Property::Height), 60);
    EXPECT_GT(number(3, Property::Height), 40);
    EXPECT_GT(number(2, Property::Y), number(1, Property::Y) + number(1, Property::Height));
    EXPECT_GT(number(3, Property::Y), number(2, Property::Y) + number(2, Property::Height));
    EXPECT_EQ(number(2, Property::Height), 14);
    EXPECT_EQ(window->control(3)->widget()->geometry().top(),
              window->units().toPixelsY(number(3, Property::Y)));
}

TEST_F(ResizedWindow, AProcedureThatPlacesTheControlsItselfRebasesTheResizer)
{
    WindowResizer resizer;
    resizer.init(*window, WindowResizer::Default, true);
    EXPECT_EQ(window->content()->minimumSize(), opened);

    // Switched off, the window can be made smaller and a resize moves nothing.
    resizer.setEnabled(false);
    EXPECT_EQ(window->content()->minimumSize(), QSize(0, 0));
    const QSize fitted(opened.width() - 60, opened.height() - 20);
    window->content()->resize(fitted);
    resizer.resize();
    EXPECT_EQ(number(1, Property::Width), 190);
    // The procedure places a control, takes the places as the ones to follow and switches
    // resizing on: the fitted size is the smallest now.
    window->setProperty(4, Property::X, 10);
    resizer.rebase();
    resizer.setEnabled(true);
    EXPECT_EQ(window->content()->minimumSize(), fitted);

    window->content()->resize(fitted.width() + 100, fitted.height());
    resizer.resize();
    EXPECT_LT(number(4, Property::X), 100); // moved on from 10, not from the definition's 150
    EXPECT_GT(number(1, Property::Width), 190);
}

} // namespace
