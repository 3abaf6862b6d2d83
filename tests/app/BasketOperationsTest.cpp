#include "app/browsepriosn/BasketOperations.h"
#include "app/browsepriosn/RealArithmetic.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace app;
using platform::text::w;

namespace {

class BasketTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DictionaryInit();
        ASSERT_EQ(RelateKORZAK->open(), 0);
        ASSERT_EQ(RelatePRIOSN->open(), 0);
    }
    void TearDown() override
    {
        RelateKORZAK->close();
        RelatePRIOSN->close();
        DictionaryKill();
    }

    static PriosnRecord item(int32_t code, double price, double weight = 0.0)
    {
        PRIOSN().clearBuffer();
        PriosnRecord record = PR();
        record.KOD = code;
        record.OBOZ = w("ОБ-" + std::to_string(code));
        record.NAIM = w("Фильтр");
        record.PROIZV = "Mann";
        record.CENA = price;
        record.KOLVUP = 4;
        record.VES = weight;
        return record;
    }

    static void addItem(const PriosnRecord& record)
    {
        PR() = record;
        ASSERT_EQ(PRIOSN().add(), 0);
    }

    struct Line
    {
        int32_t code;
        int16_t quantity;
        double price;
        double sum;
    };

    static std::vector<Line> lines()
    {
        std::vector<Line> result;
        KORZAK().setKey(K_pokod);
        while (KORZAK().next() == 0)
            result.push_back({K().KOD, K().KOL, K().CENA, K().SUMMA});
        return result;
    }

    testsupport::TempWorkFolder m_folder;
};

TEST(BasketArithmetic, SumsRoundHalfUpInDecimal)
{
    EXPECT_DOUBLE_EQ(lineSum(3, 0.335), 1.01);
    EXPECT_DOUBLE_EQ(lineSum(1, 1.005), 1.01);
    EXPECT_DOUBLE_EQ(lineSum(2, 0.125), 0.25);
    EXPECT_DOUBLE_EQ(lineSum(32767, 99999.99), 3276699672.33);
    EXPECT_DOUBLE_EQ(roundHalfUp(-2.675, 2), -2.68);
    EXPECT_DOUBLE_EQ(roundHalfUp(3 * 0.00005, 4), 0.0002);
}

TEST(BasketArithmetic, RealEqualityIgnoresOnlyTheLastBits)
{
    EXPECT_TRUE(realEqual(0.1 + 0.2, 0.3));
    EXPECT_TRUE(realEqual(0.0, 0.0));
    EXPECT_FALSE(realEqual(10.0, 10.01));
    EXPECT_TRUE(realEqual(0.0, 1e-20)); // zero counts with the exponent of 1.0
    EXPECT_FALSE(realEqual(0.0, 0.001));
    EXPECT_FALSE(realEqual(1.0, 1.0 + std::ldexp(1.0, -45)));
}

TEST_F(BasketTest, OrderingANewItemAddsALineWithTheItemsFields)
{
    EXPECT_EQ(orderItem(item(305, 0.335), 3), BasketResult::Done);
    EXPECT_EQ(K().KOD, 305);
    EXPECT_EQ(K().OBOZ, w("ОБ-305"));
    EXPECT_EQ(K().PROIZV, std::string_view("Mann"));
    EXPECT_EQ(K().UPAK, 4);
    const auto basket = lines();
    ASSERT_EQ(basket.size(), 1u);
    EXPECT_EQ(basket[0].quantity, 3);
    EXPECT_DOUBLE_EQ(basket[0].sum, 1.01);
}

TEST_F(BasketTest, OrderingTwiceAddsTheQuantityAndRepricesTheWholeLine)
{
    orderItem(item(7, 10.0), 2);
    orderItem(item(8, 1.0), 1);
    EXPECT_EQ(orderItem(item(7, 12.5), 3), BasketResult::Done);
    EXPECT_EQ(K().KOD, 7);
    const auto basket = lines();
    ASSERT_EQ(basket.size(), 2u);
    EXPECT_EQ(basket[0].quantity, 5);
    EXPECT_DOUBLE_EQ(basket[0].price, 12.5);
    EXPECT_DOUBLE_EQ(basket[0].sum, 62.5);
}

TEST_F(BasketTest, QuantityBelowOneChangesNothing)
{
    orderItem(item(7, 10.0), 2);
    EXPECT_EQ(orderItem(item(7, 99.0), 0), BasketResult::Unchanged);
    EXPECT_EQ(orderItem(item(9, 99.0), -4), BasketResult::Unchanged);
    EXPECT_EQ(changeQuantity(7, 0), BasketResult::Unchanged);
    const auto basket = lines();
    ASSERT_EQ(basket.size(), 1u);
    EXPECT_EQ(basket[0].quantity, 2);
    EXPECT_DOUBLE_EQ(basket[0].price, 10.0);
}

TEST_F(BasketTest, ALineNeverGoesPast32767)
{
    EXPECT_EQ(orderItem(item(7, 1.0), 32767), BasketResult::Done);
    EXPECT_EQ(orderItem(item(7, 2.0), 1), BasketResult::QuantityTooLarge);
    EXPECT_EQ(orderItem(item(8, 1.0), 32768), BasketResult::QuantityTooLarge);
    EXPECT_EQ(orderItem(item(9, 1.0), 999999), BasketResult::QuantityTooLarge);
    EXPECT_EQ(changeQuantity(7, 40000), BasketResult::QuantityTooLarge);
    const auto basket = lines();
    ASSERT_EQ(basket.size(), 1u);
    EXPECT_EQ(basket[0].quantity, 32767);
    EXPECT_DOUBLE_EQ(basket[0].price, 1.0);
}

TEST_F(BasketTest, ChangingTheQuantityKeepsTheLinesOwnPrice)
{
    orderItem(item(7, 0.335), 1);
    EXPECT_EQ(changeQuantity(7, 3), BasketResult::Done);
    const auto basket = lines();
    EXPECT_EQ(basket[0].quantity, 3);
    EXPECT_DOUBLE_EQ(basket[0].sum, 1.01);
}

TEST_F(BasketTest, DeletingHighlightsCodeMinusOneElseTheNextLine)
{
    for (int32_t code : {10, 11, 20, 30})
        orderItem(item(code, 1.0), 1);
    int32_t highlighted = -1;
    EXPECT_EQ(deleteLine(11, highlighted), BasketResult::Done);
    EXPECT_EQ(highlighted, 10);
    EXPECT_EQ(deleteLine(20, highlighted), BasketResult::Done);
    EXPECT_EQ(highlighted, 30);
    EXPECT_EQ(deleteLine(30, highlighted), BasketResult::Done);
    EXPECT_EQ(highlighted, 0);
    const auto basket = lines();
    ASSERT_EQ(basket.size(), 1u);
    EXPECT_EQ(basket[0].code, 10);
}

TEST_F(BasketTest, EmptyingRemovesEveryLine)
{
    orderItem(item(1, 1.0), 1);
    orderItem(item(2, 1.0), 1);
    EXPECT_EQ(emptyBasket(), 0);
    EXPECT_TRUE(lines().empty());
}

TEST_F(BasketTest, PriceCheckRepricesChangedItemsAndLeavesMissingOnesAlone)
{
    addItem(item(1, 2.0));
    addItem(item(2, 5.0));
    orderItem(item(1, 1.0), 3);
    orderItem(item(2, 5.0), 1);
    orderItem(item(3, 7.77), 2); // left the price list
    int repriced = 0;
    EXPECT_EQ(checkPrices(&repriced), BasketResult::Done);
    EXPECT_EQ(repriced, 1);
    const auto basket = lines();
    ASSERT_EQ(basket.size(), 3u);
    EXPECT_DOUBLE_EQ(basket[0].price, 2.0);
    EXPECT_DOUBLE_EQ(basket[0].sum, 6.0);
    EXPECT_DOUBLE_EQ(basket[1].price, 5.0);
    EXPECT_DOUBLE_EQ(basket[2].price, 7.77);
    EXPECT_DOUBLE_EQ(basket[2].sum, 15.54);
}

TEST_F(BasketTest, TotalsOfAnEmptyBasketAreZero)
{
    OrderTotals totals{9, 9, 9.0, 9.0};
    EXPECT_TRUE(basketTotals(totals));
    EXPECT_EQ(totals.lines, 0);
    EXPECT_EQ(totals.quantity, 0);
    EXPECT_EQ(totals.sum, 0.0);
    EXPECT_EQ(totals.weight, 0.0);
}

TEST_F(BasketTest, TotalsCountWeightOnlyForItemsStillListed)
{
    addItem(item(1, 2.5, 0.12345));
    orderItem(item(1, 2.5), 3);
    orderItem(item(2, 1.0), 4); // not in the price list: weight 0
    OrderTotals totals;
    EXPECT_TRUE(basketTotals(totals));
    EXPECT_EQ(totals.lines, 2);
    EXPECT_EQ(totals.quantity, 7);
    EXPECT_DOUBLE_EQ(totals.sum, 11.5);
    EXPECT_DOUBLE_EQ(totals.weight, 0.3704);
    KORZAK().clearBuffer();
    K().KOD = 2;
    K().KOL = 4;
    EXPECT_EQ(lineWeight(K()), 0.0);
}

} // namespace

TEST_F(BasketTest, EveryRefusedWriteIsSaidAndChangesNothing)
{
    addItem(item(1, 2.0));
    orderItem(item(1, 1.0), 3);
    orderItem(item(2, 5.0), 1);
    const auto before = lines();
    // A basket the program could open for reading only (another copy holds it, or its folder
    // is read-only): every write is refused.
    RelateKORZAK->close();
    ASSERT_EQ(KORZAK().open(0x40), 0);
    const auto refused = [](BasketResult result) {
        EXPECT_EQ(result, BasketResult::WriteFailed);
        EXPECT_EQ(platform::storage::errorCode(), platform::storage::Error::AccessDenied);
        EXPECT_EQ(platform::storage::errorFile(), "korzak.tps");
    };
    refused(orderItem(item(1, 1.0), 2)); // more of a line
    refused(orderItem(item(9, 1.0), 1)); // a new line
    refused(changeQuantity(2, 7));
    int32_t highlighted = 0;
    refused(deleteLine(2, highlighted));
    int repriced = -1;
    refused(checkPrices(&repriced));
    EXPECT_EQ(repriced, 0);
    EXPECT_NE(emptyBasket(), 0);
    KORZAK().close();

    ASSERT_EQ(RelateKORZAK->open(), 0);
    const auto after = lines();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].code, before[i].code);
        EXPECT_EQ(after[i].quantity, before[i].quantity);
        EXPECT_DOUBLE_EQ(after[i].price, before[i].price);
    }
}
