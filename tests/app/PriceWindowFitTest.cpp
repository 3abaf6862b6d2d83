#include "app/browsepriosn/PriceWindowFit.h"
#include "app/browsepriosn/ExactDecimal.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using namespace app;

namespace {

// The price-list window as designed: 654 x 372 dialog units.
PriceWindowLayout designLayout()
{
    PriceWindowLayout l;
    l.window = {0, 0, 654, 372};
    l[1] = {9, 38, 631, 153};
    l[2] = {341, 1, 13, 14};
    l[3] = {355, 0, 130, 14};
    l[4] = {296, 20, 109, 15};
    l[5] = {1, 39, 0, 153};
    l[6] = {490, 4, 155, 11};
    l[7] = {10, 199, 143, 14};
    l[8] = {156, 199, 75, 14};
    l[9] = {236, 199, 105, 14};
    l[10] = {348, 199, 133, 14};
    l[11] = {499, 358, 75, 14};
    l[12] = {1, 215, 647, 0};
    l[13] = {15, 218, 73, 12};
    l[14] = {89, 218, 31, 12};
    l[15] = {121, 218, 88, 12};
    l[16] = {211, 218, 79, 12};
    l[17] = {305, 218, 98, 12};
    l[18] = {403, 218, 64, 12}; // wide enough for a total weight of a million kilograms
    l[19] = {8, 247, 634, 90};
    l[20] = {7, 343, 77, 14};
    l[21] = {87, 343, 141, 14};
    l[22] = {245, 343, 169, 14};
    l[23] = {417, 343, 115, 14};
    l[24] = {401, 359, 87, 14};
    l[25] = {275, 359, 124, 14};
    l[26] = {535, 343, 104, 14};
    l[27] = {534, 218, 107, 14};
    l[28] = {1, 247, 0, 89};
    l[29] = {3, 230, 644, 111};
    l[35] = {4, 2, 645, 192};
    l[54] = {579, 359, 66, 12};
    for (int prompt : {37, 40, 43, 46, 49, 52})
        l[prompt] = {31, 22, 30, 10};
    l[38] = {65, 22, 60, 10};
    for (int entry : {41, 44, 50})
        l[entry] = {65, 23, 193, 10};
    l[47] = {64, 23, 193, 10};
    l[53] = {64, 23, 172, 10};
    return l;
}

PriceWindowLayout fitted(int width, int height)
{
    PriceWindowLayout l = designLayout();
    if (tooWide(l.window, width))
        fitToWidth(l, width);
    if (tooLow(l.window, height))
        fitToHeight(l, height);
    return l;
}

constexpr int Buttons[] = {7, 8, 9, 10, 11, 20, 21, 22, 23, 24, 25, 26, 54};

} // namespace

namespace app {
void PrintTo(const Box& box, std::ostream* out)
{
    *out << "{" << box.x << ", " << box.y << ", " << box.width << ", " << box.height << "}";
}
} // namespace app

namespace {

bool overlap(const Box& a, const Box& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

TEST(ExactDecimal, KeepsDecimalConstantsExactThroughCutsAndRounding)
{
    const ExactDecimal tenth = ExactDecimal::of(1, 1);
    EXPECT_EQ((ExactDecimal(600) * ExactDecimal::of(3, 1)).cut(), 180);
    EXPECT_EQ((tenth + tenth + tenth) * 10, ExactDecimal(3));
    EXPECT_EQ((ExactDecimal(645) * ExactDecimal::of(70, 2)).rounded(), 452); // 451.5
    EXPECT_EQ(ExactDecimal::of(-25, 1).rounded(), -3);                       // halves away from 0
    EXPECT_EQ(ExactDecimal::of(-29, 1).cut(), -2);
    EXPECT_EQ((ExactDecimal(7) / 2).cut(), 3);
    EXPECT_EQ((ExactDecimal(7) / 0).rounded(), 0);
}

TEST(PriceWindowFit, FitsOnlyWhenTheWindowIsLargerThanAKnownClientArea)
{
    const Box design{0, 0, 654, 372};
    EXPECT_FALSE(fitNeeded(design, 654, 372));
    EXPECT_FALSE(fitNeeded(design, 800, 600));
    EXPECT_TRUE(fitNeeded(design, 653, 372));
    EXPECT_TRUE(fitNeeded(design, 654, 371));
    // Without a frame there is no client size to fit into.
    EXPECT_FALSE(fitNeeded(design, 0, 0));
    EXPECT_TRUE(tooWide(design, 640));
    EXPECT_FALSE(tooLow(design, 480));
    EXPECT_EQ(fitted(654, 372).controls, designLayout().controls);
    EXPECT_EQ(fitted(654, 372).window, designLayout().window);
}

TEST(PriceWindowFit, NarrowFrameSpreadsTheButtonsByFractionsOfTheWidth)
{
    const PriceWindowLayout l = fitted(600, 480);
    EXPECT_EQ(l.window, (Box{0, 0, 597, 372}));
    EXPECT_EQ(l.controls.at(1), (Box{3, 38, 589, 153}));
    EXPECT_EQ(l.controls.at(35), (Box{1, 2, 593, 192}));
    EXPECT_EQ(l.controls.at(3), (Box{420, 2, 130, 9}));
    EXPECT_EQ(l.controls.at(6), (Box{492, 2, 102, 9})); // ends with the search sheet
    EXPECT_EQ(l.controls.at(12), (Box{1, 215, 593, 0}));
    EXPECT_EQ(l.controls.at(19), (Box{3, 247, 589, 90}));
    EXPECT_EQ(l.controls.at(29), (Box{1, 230, 593, 111}));
    const std::vector<std::pair<int, Box>> buttons = {
        {20, {1, 343, 120, 14}},   {21, {123, 343, 150, 14}}, {22, {275, 343, 180, 14}},
        {23, {457, 343, 120, 14}}, {26, {1, 343, 120, 14}},   {25, {123, 359, 120, 14}},
        {24, {245, 359, 120, 14}}, {54, {457, 0, 120, 0}},    {11, {366, 358, 90, 14}}};
    for (const auto& [control, box] : buttons) {
        EXPECT_EQ(l.controls.at(control).x, box.x) << control;
        EXPECT_EQ(l.controls.at(control).width, box.width) << control;
    }
    EXPECT_EQ(l.controls.at(5).x, 0);
    // Heights are untouched when the frame is tall enough; only the two headings move up, and
    // "Новый заказ" goes down to the second row.
    for (const auto& [control, box] : l.controls) {
        if (control == 3 || control == 6 || control == 26)
            continue;
        EXPECT_EQ(box.height, designLayout().controls.at(control).height) << control;
        EXPECT_EQ(box.y, designLayout().controls.at(control).y) << control;
    }
}

TEST(PriceWindowFit, WidthsOf640AndOfAHalfThatBinaryArithmeticWouldLose)
{
    const PriceWindowLayout l = fitted(640, 480);
    EXPECT_EQ(l.window.width, 637);
    EXPECT_EQ(l.window.height, 372);
    EXPECT_EQ(l.controls.at(1).width, 629);
    EXPECT_EQ(l.controls.at(3).x, 448);
    EXPECT_EQ(l.controls.at(6).x, 525); // 524.8
    EXPECT_EQ(l.controls.at(21).x, 131);
    EXPECT_EQ(l.controls.at(21).width, 160);
    EXPECT_EQ(l.controls.at(22).x, 293);
    EXPECT_EQ(l.controls.at(22).width, 192);
    EXPECT_EQ(l.controls.at(23).x, 487);
    EXPECT_EQ(l.controls.at(24).x, 261);
    EXPECT_EQ(l.controls.at(11).x, 390);
    EXPECT_EQ(l.controls.at(11).width, 96);
    EXPECT_EQ(l.controls.at(54).width, 128);

    // 645 x 0.7 is 451.5: exactly a half, rounded up; 645 x 0.45 + 5 = 295.25 is cut.
    const PriceWindowLayout odd = fitted(645, 480);
    EXPECT_EQ(odd.controls.at(3).x, 452);
    EXPECT_EQ(odd.controls.at(6).x, 529);
    EXPECT_EQ(odd.controls.at(22).x, 295);
    EXPECT_EQ(odd.controls.at(22).width, 193);
    EXPECT_EQ(odd.controls.at(23).x, 490);
    EXPECT_EQ(odd.controls.at(11).width, 96);
}

TEST(PriceWindowFit, NewOrderAndTheBasketHeadingNeitherOverlapNorStickOut)
{
    // Spread across, "Новый заказ" starts the second row, under "Удалить" and not over it.
    const PriceWindowLayout narrow = fitted(600, 480);
    EXPECT_EQ(narrow.controls.at(26), (Box{1, 359, 120, 14}));
    EXPECT_FALSE(overlap(narrow.controls.at(26), narrow.controls.at(20)));
    // The basket's heading ends with the basket's sheet; at its narrowest the total weight
    // gives back its room for millions, then the heading starts after it and gives up width.
    EXPECT_EQ(narrow.controls.at(27), (Box{487, 218, 107, 14}));
    EXPECT_EQ(fitted(500, 480).controls.at(27), (Box{460, 218, 34, 14}));
    EXPECT_EQ(fitted(500, 480).controls.at(18), (Box{403, 218, 57, 12}));
    EXPECT_EQ(narrow.controls.at(18), (Box{403, 218, 64, 12}));
    EXPECT_EQ(fitted(500, 480).controls.at(6), (Box{410, 2, 84, 9}));

    // Fitted only to the height, "Новый заказ" keeps its place at the end of the first row.
    const PriceWindowLayout low = fitted(700, 300);
    EXPECT_EQ(low.controls.at(26).y, low.controls.at(23).y);
    EXPECT_EQ(low.controls.at(26).height, low.controls.at(23).height);
    for (int other : {11, 24, 25, 54})
        EXPECT_FALSE(overlap(low.controls.at(26), low.controls.at(other))) << other;
    EXPECT_EQ(low.controls.at(27).y, low.controls.at(13).y);

    // Fitted both ways it goes with the second row.
    const PriceWindowLayout both = fitted(600, 300);
    EXPECT_EQ(both.controls.at(26).y, both.controls.at(25).y);
}

TEST(PriceWindowFit, LowFrameSplitsTheHeightBetweenTheHalves)
{
    const PriceWindowLayout l = fitted(600, 300);
    EXPECT_EQ(l.window, (Box{0, 0, 597, 280}));
    EXPECT_EQ(l.controls.at(1), (Box{3, 29, 589, 82}));
    EXPECT_EQ(l.controls.at(35), (Box{1, 1, 593, 113}));
    for (int prompt : {4, 37, 40, 43, 46, 49, 52}) {
        EXPECT_EQ(l.controls.at(prompt).y, 16) << prompt;
        EXPECT_EQ(l.controls.at(prompt).height, 12) << prompt;
    }
    for (int entry : {38, 41, 44, 47, 50, 53}) {
        EXPECT_EQ(l.controls.at(entry).y, 16) << entry;
        EXPECT_EQ(l.controls.at(entry).height, 10) << entry;
    }
    for (int button : {7, 8, 9, 10})
        EXPECT_EQ(l.controls.at(button).y, 115) << button;
    EXPECT_EQ(l.controls.at(10).height, 11);
    EXPECT_EQ(l.controls.at(12).y, 128);
    for (int total : {13, 14, 15, 16, 17, 18}) {
        EXPECT_EQ(l.controls.at(total).y, 130) << total;
        EXPECT_EQ(l.controls.at(total).height, 10) << total;
    }
    EXPECT_EQ(l.controls.at(29), (Box{1, 140, 593, 112}));
    EXPECT_EQ(l.controls.at(19), (Box{3, 156, 589, 94}));
    for (int button : {20, 21, 22, 23}) {
        EXPECT_EQ(l.controls.at(button).y, 253) << button;
        EXPECT_EQ(l.controls.at(button).height, 11) << button;
    }
    for (int button : {26, 25, 24, 11, 54}) {
        EXPECT_EQ(l.controls.at(button).y, 265) << button;
        EXPECT_EQ(l.controls.at(button).height, 11) << button;
    }
    EXPECT_EQ(l.controls.at(5), (Box{0, 29, 0, 82}));
    EXPECT_EQ(l.controls.at(28), (Box{1, 156, 0, 94}));
}

TEST(PriceWindowFit, LowButWideEnoughFrameKeepsTheWidths)
{
    const PriceWindowLayout l = fitted(700, 480 - 130);
    EXPECT_EQ(l.window.width, 654);
    EXPECT_EQ(l.window.height, 330);
    for (const auto& [control, box] : l.controls) {
        EXPECT_EQ(box.x, designLayout().controls.at(control).x) << control;
        EXPECT_EQ(box.width, designLayout().controls.at(control).width) << control;
    }
    // H = 350: S = R(32.8125) = 33, U = R(131.25) = 131.
    EXPECT_EQ(l.controls.at(1).y, 34);
    EXPECT_EQ(l.controls.at(1).height, 96);  // R(95.8125)
    EXPECT_EQ(l.controls.at(38).y, 18);      // T(16.5 + 2)
    EXPECT_EQ(l.controls.at(38).height, 12); // T(33 - 16.5 - 4)
    EXPECT_EQ(l.controls.at(7).y, 133);
}

TEST(PriceWindowFit, ButtonsStayApartAndInsideTheWindowAtEverySmallSize)
{
    // The price list's buttons keep their places across, so the window must be at least as
    // wide as their row; below 254 units of height the two rows of basket buttons no longer
    // fit under the basket.
    for (int width = 484; width <= 654; width += 3)
        for (int height = 254; height < 372; ++height) {
            const PriceWindowLayout l = fitted(width, height);
            for (int a : Buttons) {
                const Box& box = l.controls.at(a);
                EXPECT_GE(box.x, 0);
                EXPECT_GE(box.y, 0);
                EXPECT_GT(box.width, 0) << a << " at " << width << "x" << height;
                EXPECT_GT(box.height, 0) << a << " at " << width << "x" << height;
                EXPECT_LE(box.x + box.width, l.window.width) << a << " at " << width;
                EXPECT_LE(box.y + box.height, l.window.height) << a << " at " << height;
                for (int b : Buttons) {
                    if (a < b) {
                        EXPECT_FALSE(overlap(box, l.controls.at(b)))
                            << a << " and " << b << " at " << width << "x" << height;
                    }
                }
            }
        }
}

} // namespace
