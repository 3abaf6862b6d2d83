#include "app/proczak/OrderParams.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

using namespace app;
using platform::text::w;

namespace {

TEST(BasketParams, ItemOrderParamsPlacesEveryFieldByPosition)
{
    PriosnRecord item{};
    item.KOD = 305;
    item.OBOZ = w("W 712/75");
    item.NAIM = w("Фильтр масляный");
    item.KOLVUP = 12;
    const std::string params = ItemOrderParams(item);
    ASSERT_EQ(params.size(), 250u);
    EXPECT_EQ(params.substr(0, 8), "00000305");
    EXPECT_EQ(params.substr(8, 50), std::string(item.OBOZ.view()));
    EXPECT_EQ(params.substr(58, 50), std::string(item.NAIM.view()));
    EXPECT_EQ(params.substr(108, 5), "   12");
    EXPECT_EQ(params.find_first_not_of(' ', 113), std::string::npos);
}

TEST(BasketParams, BasketLineParamsCarryQuantityAndPack)
{
    KorzakRecord line{};
    line.KOD = 12345678;
    line.KOL = 32767;
    line.UPAK = 6;
    const std::string params = BasketLineParams(line);
    ASSERT_EQ(params.size(), 250u);
    EXPECT_EQ(params.substr(0, 8), "12345678");
    EXPECT_EQ(params.substr(108, 8), "   32767");
    EXPECT_EQ(params.substr(116, 5), "    6");
    EXPECT_EQ(wholeNumber(paramsField(params, 109, 116)), 32767);
}

TEST(BasketParams, NumberFieldsReadBackAsWholeNumbers)
{
    EXPECT_EQ(wholeNumber("00000305"), 305);
    EXPECT_EQ(wholeNumber("   -12"), -12);
    EXPECT_EQ(wholeNumber("  7.9"), 7);
    EXPECT_EQ(wholeNumber("  7,9"), 7);
    EXPECT_EQ(wholeNumber("12ab3"), 12);
    EXPECT_EQ(wholeNumber("     "), 0);
    EXPECT_EQ(wholeNumber("-"), 0);
    EXPECT_EQ(paramsField("abc", 2, 10), "bc");
    EXPECT_EQ(paramsField("abc", 5, 10), "");
}

} // namespace
