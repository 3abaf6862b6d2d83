#include "app/browsepriosn/BrowsepriosnSettings.h"
#include "platform/text/Cp1251.h"
#include "platform/text/DayNumber.h"
#include "platform/ui/SettingsFile.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

using namespace app;
using platform::text::w;
using platform::ui::SettingsFile;

namespace {

TEST(BrowsepriosnSettings, SizesRoundTripAndGateTheBasketFormat)
{
    testsupport::TempWorkFolder folder;
    EXPECT_FALSE(savedGeometry().has_value());
    savePriceWindowSizes({{10, 20, 600, 400}, "price-format", "basket-format"});
    const auto geometry = savedGeometry();
    ASSERT_TRUE(geometry.has_value());
    EXPECT_EQ(geometry->x, 10);
    EXPECT_EQ(geometry->height, 400);
    EXPECT_EQ(savedPriceFormat(), "price-format");
    EXPECT_EQ(savedBasketFormat(), "basket-format");
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "sizeprice", "br2_1"), "1");
    SettingsFile::write("quelbarto.ini", "sizeprice", "br2_1", "0");
    EXPECT_EQ(savedBasketFormat(), "");
}

TEST(BrowsepriosnSettings, AnEmptyW1RestoresNothing)
{
    testsupport::TempWorkFolder folder;
    SettingsFile::write("quelbarto.ini", "sizeprice", "w1", "");
    SettingsFile::write("quelbarto.ini", "sizeprice", "w2", "5");
    EXPECT_FALSE(savedGeometry().has_value());
}

TEST(BrowsepriosnSettings, LoadDateReadsAsTextOrBlank)
{
    testsupport::TempWorkFolder folder;
    EXPECT_EQ(loadDateText(), "");
    saveLoadDay(platform::text::dayNumber(2026, 12, 8));
    EXPECT_EQ(loadDateText(), w("(загружен  8.12.2026)"));
    SettingsFile::write("quelbarto.ini", "dataprice", "d1", "");
    EXPECT_EQ(loadDateText(), "");
}

} // namespace
