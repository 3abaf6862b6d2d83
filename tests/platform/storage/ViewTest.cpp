#include "platform/storage/Bindings.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"

#include "PriceTestRecord.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <vector>

using platform::storage::Bindings;
using platform::storage::RecordFile;
using platform::storage::View;
namespace Error = platform::storage::Error;
using platform::text::FixedString;
using platform::text::w;
using pricetest::price;
using pricetest::PriceRecord;

namespace {

constexpr int ByCode = 0;
constexpr int ByName = 1;

class PriceView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_file.create(), 0);
        ASSERT_EQ(m_file.open(0x22), 0);
        for (const PriceRecord& record :
             {price(30512, "Свеча зажигания", 0), price(305, "фильтр масляный", 0),
              price(7, "Колодка тормозная", 3105), price(1305, "Фильтр воздушный", 305),
              price(3105, "Ёлочка", 7), price(40, "Амортизатор", 0)}) {
            m_file.record<PriceRecord>() = record;
            ASSERT_EQ(m_file.add(), 0);
        }
        m_bindings.bind("kodstr3", kodstr3);
        m_bindings.bind("ks", ks);
    }

    void TearDown() override { m_file.close(); }

    std::vector<int32_t> walk(View& view, bool forward = true)
    {
        std::vector<int32_t> codes;
        while ((forward ? view.next() : view.previous()) == 0)
            codes.push_back(int32_t{m_file.record<PriceRecord>().KOD});
        EXPECT_EQ(platform::storage::errorCode(), Error::RecordNotAvailable);
        return codes;
    }

    testsupport::TempWorkFolder m_folder;
    RecordFile m_file{pricetest::priceLayout()};
    Bindings m_bindings;
    FixedString<50> kodstr3;
    int32_t ks = 0;
};

using V = std::vector<int32_t>;

const char* const NameFilter =
    "kodstr3='' or (kodstr3<>'' and instring(upper(clip(kodstr3)),upper(pr:naim),1)>0)";

} // namespace

TEST_F(PriceView, KeyOrderThroughAFilterBothWays)
{
    View view(m_file, ByName);
    ASSERT_EQ(view.setFilter(NameFilter, &m_bindings), 0);
    view.setStart();
    EXPECT_EQ(walk(view), (V{40, 3105, 7, 30512, 1305, 305})); // no case, Ё between Е and Ж
    kodstr3 = w("ФИЛЬТР");
    view.setStart();
    EXPECT_EQ(walk(view), (V{1305, 305}));
    view.setEnd();
    EXPECT_EQ(walk(view, false), (V{305, 1305}));
    EXPECT_EQ(view.records(), 2);

    View byCode(m_file, ByCode);
    byCode.setStart();
    EXPECT_EQ(walk(byCode), (V{7, 40, 305, 1305, 3105, 30512}));
    View physical(m_file);
    physical.setStart();
    EXPECT_EQ(walk(physical), (V{30512, 305, 7, 1305, 3105, 40}));
}

TEST_F(PriceView, StartsAtTheBufferKeyPosition)
{
    View view(m_file, ByCode);
    ASSERT_EQ(view.setFilter("pr:kod <> 1305"), 0);
    m_file.clearBuffer();
    m_file.record<PriceRecord>().KOD = 1000;
    ASSERT_EQ(view.setFromBuffer(), 0);
    EXPECT_EQ(view.next(), 0); // 1305 is filtered out
    EXPECT_EQ(m_file.record<PriceRecord>().KOD, 3105);
    m_file.record<PriceRecord>().KOD = 1305;
    ASSERT_EQ(view.setFromBuffer(), 0);
    EXPECT_EQ(walk(view, false), (V{305, 40, 7}));
}

TEST_F(PriceView, PredicateRunsAfterTheFilter)
{
    View view(m_file, ByCode);
    ASSERT_EQ(view.setFilter("pr:kod2 = 0"), 0);
    int calls = 0;
    view.setPredicate([&] {
        ++calls;
        return m_file.record<PriceRecord>().KOD > 100;
    });
    view.setStart();
    EXPECT_EQ(walk(view), (V{305, 30512}));
    EXPECT_EQ(calls, 3); // only for 40, 305 and 30512
}

TEST_F(PriceView, BadFilterShowsNothingAndRecordsKeepsTheBuffer)
{
    View view(m_file, ByCode);
    EXPECT_EQ(view.setFilter("pr:kod = ", &m_bindings), Error::BadExpression);
    view.setStart();
    EXPECT_EQ(view.next(), Error::RecordNotAvailable);
    EXPECT_EQ(view.records(), 0);
    EXPECT_EQ(view.setFilter("pr:nosuch = 1"), Error::UnknownVariable);
    EXPECT_EQ(view.records(), 0);

    ASSERT_EQ(view.setFilter("", &m_bindings), 0);
    m_file.clearBuffer();
    m_file.record<PriceRecord>().KOD = 4242;
    EXPECT_EQ(view.records(), 6);
    EXPECT_EQ(m_file.record<PriceRecord>().KOD, 4242);
    EXPECT_EQ(view.next(), 0); // at the start again
    EXPECT_EQ(m_file.record<PriceRecord>().KOD, 7);
}
