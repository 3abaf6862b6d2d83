#include "app/fotovyv/PhotoLayout.h"

#include <gtest/gtest.h>

#include <ostream>

namespace app {

void PrintTo(const PhotoRect& r, std::ostream* out)
{
    *out << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

} // namespace app

namespace {

using app::layoutPhoto;
using app::PhotoRect;

struct Case
{
    const char* what;
    int naturalWidth;
    int naturalHeight;
    PhotoRect box;
    PhotoRect expected;
};

TEST(PhotoLayout, PlacesAndScalesIntoTheBox)
{
    const Case cases[] = {
        {"smaller: natural size, centred", 100, 50, {6, 44, 288, 164}, {100, 101, 100, 50}},
        {"odd margins are truncated", 50, 21, {0, 0, 101, 100}, {25, 39, 50, 21}},
        {"exact fit: unchanged at the box's place", 288, 164, {6, 44, 288, 164}, {6, 44, 288, 164}},
        {"twice as wide, as high: box width, centred vertically",
         200,
         50,
         {10, 20, 100, 50},
         {10, 32, 100, 25}},
        {"wider only: box width, height truncated", 101, 10, {0, 0, 100, 100}, {0, 45, 100, 9}},
        {"taller: box height, centred horizontally", 50, 200, {0, 0, 100, 100}, {37, 0, 25, 100}},
        {"taller only, narrow box", 50, 300, {6, 44, 288, 164}, {136, 44, 27, 164}},
        {"larger, same proportions as the box", 200, 100, {0, 0, 100, 50}, {0, 0, 100, 50}},
        {"one unit wider than the box", 289, 164, {6, 44, 288, 164}, {6, 44, 288, 163}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(layoutPhoto(c.naturalWidth, c.naturalHeight, c.box), c.expected) << c.what;
}

TEST(PhotoLayout, ABoxWithoutSizeGivesAnEmptyPictureNotACrash)
{
    EXPECT_EQ(layoutPhoto(10, 10, {5, 5, 100, 0}), (PhotoRect{55, 5, 0, 0}));
    EXPECT_EQ(layoutPhoto(10, 10, {5, 5, 0, 100}), (PhotoRect{5, 55, 0, 0}));
    EXPECT_EQ(layoutPhoto(10, 10, {5, 5, 0, 0}), (PhotoRect{5, 5, 0, 0}));
}

TEST(PhotoLayout, HugePicturesDoNotOverflow)
{
    // Sizes whose products do not fit 32 bits.
    EXPECT_EQ(layoutPhoto(100000, 50000, {0, 0, 60000, 60000}),
              (PhotoRect{0, 15000, 60000, 30000}));
}

} // namespace
