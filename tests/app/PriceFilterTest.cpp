#include "app/browsepriosn/PriceRecordFilter.h"
#include "app/browsepriosn/PriceSortOrders.h"
#include "app/dictionary/Dictionary.h"
#include "app/dictionary/SelectionQueues.h"
#include "platform/storage/Bindings.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace app;
using platform::text::w;

namespace {

PriosnRecord record(std::string_view applicability, std::string_view manufacturer)
{
    PriosnRecord r{};
    r.PRIMEN = w(applicability);
    r.PROIZV = w(manufacturer);
    return r;
}

class SelectionFilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Q1().free();
        Q2().free();
    }
    void TearDown() override
    {
        Q1().free();
        Q2().free();
    }
    static void addQ1(std::string_view name)
    {
        Q1().buffer().N = w(name);
        Q1().append();
    }
    static void addQ2(std::string_view name)
    {
        Q2().buffer().N = w(name);
        Q2().append();
    }
    SelectionState m_state;
};

constexpr int Accepted = RecordFilterResult::Accepted;
constexpr int Filtered = RecordFilterResult::Filtered;

TEST_F(SelectionFilterTest, NoSelectionAcceptsEverything)
{
    EXPECT_EQ(PriceRecordFilter(record("", ""), 0, m_state), Accepted);
}

TEST_F(SelectionFilterTest, PhraseIsACaseInsensitiveSubstringOfTheApplicability)
{
    m_state.applicabilityMode = 1;
    m_state.phrase = w("  газель ");
    EXPECT_EQ(PriceRecordFilter(record("ГАЗ ГАЗЕЛЬ 3302", ""), 0, m_state), Accepted);
    EXPECT_EQ(PriceRecordFilter(record("ВАЗ 2107", ""), 0, m_state), Filtered);
}

TEST_F(SelectionFilterTest, MarkedTypesPassWhenAnyOccursInTheApplicability)
{
    m_state.applicabilityMode = 2;
    addQ1("ГРУЗОВЫЕ");
    addQ1("АВТОБУСЫ");
    EXPECT_EQ(PriceRecordFilter(record("для автобусы ПАЗ", ""), 0, m_state), Accepted);
    EXPECT_EQ(PriceRecordFilter(record("легковые", ""), 0, m_state), Filtered);
}

TEST_F(SelectionFilterTest, ManufacturerMustMatchExactlyWithCase)
{
    m_state.manufacturerMode = 1;
    addQ2("Mann");
    EXPECT_EQ(PriceRecordFilter(record("", "Mann"), 0, m_state), Accepted);
    EXPECT_EQ(PriceRecordFilter(record("", "MANN"), 0, m_state), Filtered);
    EXPECT_EQ(PriceRecordFilter(record("", "Mann-Filter"), 0, m_state), Filtered);
}

TEST_F(SelectionFilterTest, ManufacturerModeWithAnEmptyListPassesNothing)
{
    m_state.manufacturerMode = 1;
    EXPECT_EQ(PriceRecordFilter(record("", "Mann"), 0, m_state), Filtered);
}

TEST_F(SelectionFilterTest, BothTestsMustPassAndUnknownModesFail)
{
    m_state.applicabilityMode = 1;
    m_state.phrase = w("ВАЗ");
    m_state.manufacturerMode = 1;
    addQ2("Bosch");
    EXPECT_EQ(PriceRecordFilter(record("ВАЗ", "Bosch"), 0, m_state), Accepted);
    EXPECT_EQ(PriceRecordFilter(record("ВАЗ", "Mann"), 0, m_state), Filtered);
    m_state.manufacturerMode = 3;
    EXPECT_EQ(PriceRecordFilter(record("ВАЗ", "Bosch"), 0, m_state), Filtered);
}

TEST_F(SelectionFilterTest, SelectionIsIgnoredInAnaloguesMode)
{
    m_state.manufacturerMode = 1; // empty Q2 would pass nothing
    EXPECT_EQ(PriceRecordFilter(record("", "Mann"), 1, m_state), Accepted);
}

TEST(SelectionResult, CharactersDecodeIntoTheModesAndPhrase)
{
    SelectionState state;
    std::string result = "21" + std::string(50, ' ') + "10 ";
    result.replace(2, 6, w("ГАЗЕЛЬ"));
    EXPECT_TRUE(applySelectionResult(result, state));
    EXPECT_EQ(state.applicabilityMode, 2);
    EXPECT_EQ(state.manufacturerMode, 1);
    EXPECT_EQ(state.phrase, w("ГАЗЕЛЬ"));
    EXPECT_EQ(state.showOnlyMarkedTypes, 1);
    EXPECT_EQ(state.showOnlyMarkedManufacturers, 0);
    EXPECT_FALSE(applySelectionResult(std::string(55, ' '), state));
    EXPECT_EQ(state.applicabilityMode, 2);
}

TEST(SelectionButton, TooltipListsTenNamesThenDots)
{
    Q2().free();
    for (int i = 1; i <= 12; ++i) {
        Q2().buffer().N = "Maker" + std::to_string(i);
        Q2().append();
    }
    SelectionState state;
    state.manufacturerMode = 1;
    const std::string tooltip = selectionTooltip(state);
    EXPECT_NE(tooltip.find("Maker10\r\n......."), std::string::npos);
    EXPECT_EQ(tooltip.find("Maker11"), std::string::npos);
    EXPECT_EQ(selectionCaption(state), "Выборка (есть)");
    EXPECT_EQ(selectionColour(state), 0x8400);
    Q2().free();
    const std::string none = selectionTooltip(SelectionState{});
    const std::string rule(20, '-');
    EXPECT_EQ(none, w("Выборка ПО ПРОИЗВОДИТЕЛЮ:\r\nВСЕ\r\n") + rule + "\r\n" + rule + "\r\n" +
                        w("Выборка по применяемости:\r\nВСЕ\r\n") + rule + "\r\n" + rule + "\r\n");
}

TEST(PriceSortChoice, TabsMapToOrders)
{
    EXPECT_EQ(PriceSortChoice(1), 6);
    EXPECT_EQ(PriceSortChoice(2), 1);
    EXPECT_EQ(PriceSortChoice(6), 5);
    EXPECT_EQ(PriceSortChoice(0), 6);
    EXPECT_EQ(BasketSortChoice(1), 5);
    EXPECT_EQ(BasketSortChoice(3), 2);
    EXPECT_EQ(BasketSortChoice(9), 5);
}

// The stored filter texts, run by the storage's filter language over a small price list.
class PriceFilterTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DictionaryInit();
        ASSERT_EQ(RelatePRIOSN->open(), 0);
        add(305, 0, "A-1", "Колодки");
        add(1305, 77, "B-2", "колодки тормозные");
        add(3050, 0, "C-3", "Фильтр");
        add(77, 305, "D-4", "Свеча");
        add(12, 0, "E-5", "Ремень");
        m_bindings.bind("ks", m_ks);
        m_bindings.bind("kodstr2", m_kodstr2);
        m_bindings.bind("kodstr3", m_kodstr3);
        m_bindings.bind("kodstr4", m_kodstr4);
        m_bindings.bind("kodstr5", m_kodstr5);
        m_bindings.bind("kodstr6", m_kodstr6);
        m_bindings.bind("fk", m_fk);
        m_bindings.bind("k1", m_k1);
        m_bindings.bind("k2", m_k2);
    }
    void TearDown() override
    {
        RelatePRIOSN->close();
        DictionaryKill();
    }
    static void add(int32_t code, int32_t code2, std::string_view oboz, std::string_view naim)
    {
        PRIOSN().clearBuffer();
        PR().KOD = code;
        PR().KOD2 = code2;
        PR().OBOZ = w(oboz);
        PR().NAIM = w(naim);
        ASSERT_EQ(PRIOSN().add(), 0);
    }
    std::vector<int32_t> codes(int order)
    {
        const PriceSortOrder& sort = priceSortOrders()[static_cast<std::size_t>(order - 1)];
        platform::storage::View view(PRIOSN(), sort.key);
        EXPECT_EQ(view.setFilter(sort.filter, &m_bindings), 0);
        std::vector<int32_t> result;
        view.setStart();
        while (view.next() == 0)
            result.push_back(PR().KOD);
        return result;
    }

    testsupport::TempWorkFolder m_folder;
    platform::storage::Bindings m_bindings;
    int32_t m_ks = 0;
    platform::text::FixedString<50> m_kodstr2, m_kodstr3, m_kodstr5;
    platform::text::FixedString<200> m_kodstr4;
    platform::text::FixedString<30> m_kodstr6;
    uint8_t m_fk = 0;
    int32_t m_k1 = 0;
    int32_t m_k2 = 0;
};

TEST_F(PriceFilterTextTest, EmptySearchShowsEverythingInKeyOrder)
{
    EXPECT_EQ(codes(6), (std::vector<int32_t>{12, 77, 305, 1305, 3050}));
}

TEST_F(PriceFilterTextTest, CodeTabFindsEveryCodeContainingTheDigits)
{
    m_ks = 305;
    EXPECT_EQ(codes(6), (std::vector<int32_t>{305, 1305, 3050}));
}

TEST_F(PriceFilterTextTest, NameTabSearchesCaseInsensitively)
{
    m_kodstr3 = w("КОЛОДКИ");
    EXPECT_EQ(codes(2), (std::vector<int32_t>{305, 1305}));
    m_kodstr3 = w("нет такого");
    EXPECT_TRUE(codes(2).empty());
}

TEST_F(PriceFilterTextTest, AnaloguesWithAZeroSecondCodeListEveryRecordWithoutOne)
{
    m_kodstr3 = w("Свеча"); // the search no longer applies in analogues mode
    m_fk = 1;
    m_k1 = 305;
    m_k2 = 0;
    EXPECT_EQ(codes(6), (std::vector<int32_t>{12, 77, 305, 3050}));
    m_k1 = 1305;
    m_k2 = 77;
    EXPECT_EQ(codes(6), (std::vector<int32_t>{77, 1305}));
}

} // namespace
