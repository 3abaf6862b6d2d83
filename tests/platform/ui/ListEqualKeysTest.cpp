#include "platform/storage/Layout.h"
#include "platform/storage/LogicalThread.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/FixedString.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/StepLocator.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>
#include "platform/text/AsciiChars.h"

// Lists over keys whose values repeat: every record must be met exactly once, in the order of
// the key and then of the record's position in the file, whatever the page size.
using namespace platform::ui;
using platform::storage::RecordFile;

namespace {

#pragma pack(push, 1)
struct MakerRecord
{
    platform::text::FixedString<20> maker;
    int32_t number; // the order of adding, so the position order among equal makers
};
#pragma pack(pop)

constexpr int ByMaker = 0;
constexpr int FileOrder = -1;

platform::storage::FileLayout makerLayout()
{
    return platform::storage::LayoutBuilder<MakerRecord>("MAKERS", "MK")
        .field("MAKER", &MakerRecord::maker)
        .field("NUMBER", &MakerRecord::number)
        .key("bymaker", {"MAKER"}, {.noCase = true})
        .build();
}

struct Shape
{
    int equal;    // records sharing one maker, spread through the file
    int page;
    bool atEnds;  // equal values also at the very start and end of the key order
    const char* filter;
};

class MakerList : public BrowseList
{
public:
    explicit MakerList(RecordFile& file) : BrowseList(file)
    {
        addField(0);
        addField(1);
    }
};

class ListEqualKeys : public testing::TestWithParam<Shape>
{
protected:
    void SetUp() override
    {
        platform::storage::setCurrentThread(1);
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
    }
    void TearDown() override { file.close(); }

    // The shared maker "Same" is interleaved in the file with distinct makers sorting before
    // and after it; with atEnds, "AAA" and "zzz" (equal values too) open and close the order.
    void fill(const Shape& shape)
    {
        file.stream();
        for (int i = 0; i < shape.equal; ++i) {
            char distinct[16];
            std::snprintf(distinct, sizeof distinct, i % 2 ? "b%05d" : "t%05d", i);
            if (i % 7 == 0)
                add(distinct);
            add("Same");
            if (shape.atEnds && i % 3 == 0)
                add(i % 2 ? "AAA" : "zzz");
            if (shape.atEnds && i % 5 == 0)
                add(i % 2 ? "zzz" : "aaa"); // letter case is ignored by the key
        }
        file.flush();
    }
    void add(const std::string& maker)
    {
        file.clearBuffer();
        file.record<MakerRecord>().maker = maker;
        file.record<MakerRecord>().number = m_added++;
        ASSERT_EQ(file.add(), 0);
    }

    // The numbers the list must show: key order, then position order.
    std::vector<int> expected(bool (*passes)(int) = nullptr) const
    {
        std::vector<std::pair<std::string, int>> all;
        for (const auto& [maker, number] : m_records)
            if (!passes || passes(number))
                all.emplace_back(maker, number);
        std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
            return lower(a.first) < lower(b.first);
        });
        std::vector<int> numbers;
        for (const auto& entry : all)
            numbers.push_back(entry.second);
        return numbers;
    }
    void remember()
    {
        m_records.clear();
        file.setFileOrder();
        while (file.next() == 0)
            m_records.emplace_back(file.record<MakerRecord>().maker.str(),
                                   file.record<MakerRecord>().number);
    }
    static std::string lower(std::string text)
    {
        for (char& c : text)
            c = platform::text::asciiLower(c);
        return text;
    }

    static int number(const BrowseList& list, int row)
    {
        return std::stoi(list.model().row(row).cells.at(1));
    }
    static std::vector<int> page(const BrowseList& list)
    {
        std::vector<int> out;
        for (int r = 0; r < list.model().rows(); ++r)
            out.push_back(number(list, r));
        return out;
    }

    // Collects the rows that come into view while a move is repeated until nothing changes.
    template <typename Move>
    static std::vector<int> sweep(BrowseList& list, Move move, bool forward)
    {
        std::vector<int> met = page(list);
        if (!forward)
            std::reverse(met.begin(), met.end());
        for (int guard = 0; guard < 1000000; ++guard) {
            const std::vector<int> before = page(list);
            const int highlighted = list.highlighted();
            move();
            const std::vector<int> after = page(list);
            if (after == before && list.highlighted() == highlighted)
                break;
            // The new rows are those beyond the previous page's edge row.
            const int edge = forward ? before.back() : before.front();
            const auto at = std::find(after.begin(), after.end(), edge);
            if (forward) {
                for (auto it = at == after.end() ? after.begin() : at + 1; it != after.end(); ++it)
                    met.push_back(*it);
            } else {
                const auto stop = at == after.end() ? after.end() : at;
                for (auto it = std::make_reverse_iterator(stop); it != after.rend(); ++it)
                    met.push_back(*it);
            }
        }
        if (!forward)
            std::reverse(met.begin(), met.end());
        return met;
    }

    std::vector<int> highlightedSweep(BrowseList& list, bool forward)
    {
        std::vector<int> met;
        for (int guard = 0; guard < 1000000; ++guard) {
            met.push_back(number(list, list.highlighted()));
            const std::vector<int> before = page(list);
            const int highlighted = list.highlighted();
            if (forward)
                list.lineDown();
            else
                list.lineUp();
            if (page(list) == before && list.highlighted() == highlighted)
                break;
        }
        if (!forward)
            std::reverse(met.begin(), met.end());
        return met;
    }

    testsupport::TempWorkFolder folder;
    RecordFile file{makerLayout()};
    int m_added = 0;
    std::vector<std::pair<std::string, int>> m_records;
};

// The filter of the filtered case, as the list must apply it.
bool outsideTheMiddle(int number)
{
    return number < 500 || number > 900;
}

TEST_P(ListEqualKeys, PageKeysMeetEveryRecordOnceInPositionOrderBothWays)
{
    const Shape shape = GetParam();
    fill(shape);
    remember();
    MakerList list(file);
    list.addSortOrder(ByMaker, shape.filter);
    list.setPageSize(shape.page);
    const std::vector<int> wanted = expected(*shape.filter ? outsideTheMiddle : nullptr);

    list.load();
    EXPECT_EQ(sweep(list, [&] { list.pageDown(); }, true), wanted) << "PgDn";
    EXPECT_TRUE(list.model().atEnd());
    EXPECT_EQ(sweep(list, [&] { list.pageUp(); }, false), wanted) << "PgUp";
    EXPECT_TRUE(list.model().atStart());

    list.end();
    EXPECT_EQ(number(list, list.highlighted()), wanted.back());
    EXPECT_EQ(sweep(list, [&] { list.pageUp(); }, false), wanted) << "PgUp from End";
    list.home();
    EXPECT_EQ(number(list, list.highlighted()), wanted.front());

    if (wanted.size() <= 5000) {
        EXPECT_EQ(highlightedSweep(list, true), wanted) << "Down";
        EXPECT_EQ(highlightedSweep(list, false), wanted) << "Up";
    }
}

TEST_P(ListEqualKeys, WholeFileLoadingMeetsEveryRecordOnce)
{
    const Shape shape = GetParam();
    fill(shape);
    remember();
    MakerList list(file);
    list.addSortOrder(ByMaker, shape.filter);
    list.setWholeFile(true);
    list.load();
    EXPECT_EQ(page(list), expected(*shape.filter ? outsideTheMiddle : nullptr));
}

INSTANTIATE_TEST_SUITE_P(
    Groups, ListEqualKeys,
    testing::Values(Shape{1, 14, false, ""}, Shape{60, 14, false, ""}, Shape{60, 14, true, ""},
                    Shape{60, 1, true, ""}, Shape{1000, 14, true, ""},
                    Shape{1000, 13, true, "MK:NUMBER < 500 or MK:NUMBER > 900"},
                    Shape{100000, 500, true, ""}),
    [](const testing::TestParamInfo<Shape>& info) {
        return std::to_string(info.param.equal) + "equal_page" + std::to_string(info.param.page)
               + (info.param.atEnds ? "_atEnds" : "") + (*info.param.filter ? "_filtered" : "");
    });

class ListEqualKeysPlaces : public ListEqualKeys
{
};

TEST_F(ListEqualKeysPlaces, ResetKeepsTheHighlightedRecordInsideAGroup)
{
    fill({1000, 14, false, ""});
    MakerList list(file);
    list.addSortOrder(ByMaker);
    list.setPageSize(14);
    list.load();
    for (int i = 0; i < 30; ++i)
        list.pageDown();
    list.setHighlighted(5);
    const std::vector<int> before = page(list);
    const int kept = number(list, 5);
    list.reset(true);
    EXPECT_EQ(list.highlighted(), 5);
    EXPECT_EQ(number(list, 5), kept);
    EXPECT_EQ(page(list), before);
}

TEST_F(ListEqualKeysPlaces, AGoneRecordGivesWayToTheOneAtItsPlace)
{
    fill({60, 14, false, ""});
    MakerList list(file);
    list.addSortOrder(ByMaker);
    list.setPageSize(14);
    list.load();
    list.pageDown();
    list.setHighlighted(3);
    const int next = number(list, 4);
    ASSERT_EQ(list.fetchHighlighted(), 0);
    ASSERT_EQ(file.erase(), 0);
    list.reset(true);
    EXPECT_EQ(number(list, list.highlighted()), next);
}

TEST_F(ListEqualKeysPlaces, LocatorGoesToTheFirstOfTheGroup)
{
    fill({60, 14, false, ""});
    remember();
    MakerList list(file);
    SortOrder& order = list.addSortOrder(ByMaker);
    order.setLocator(std::make_unique<StepLocator>(0));
    list.setPageSize(14);
    list.load();
    list.end();
    EXPECT_TRUE(list.takeCharacter('s'));
    EXPECT_EQ(list.highlighted(), 0);
    EXPECT_EQ(list.model().row(0).cells[0], "Same");
    EXPECT_EQ(number(list, 0), 1); // the first "Same" added
}

TEST_F(ListEqualKeysPlaces, FetchAndEraseTakeTheRowsOwnRecordAmongIdenticalOnes)
{
    // Three byte-identical records: only the position tells them apart.
    for (int i = 0; i < 3; ++i) {
        file.clearBuffer();
        file.record<MakerRecord>().maker = "Twin";
        file.record<MakerRecord>().number = 7;
        ASSERT_EQ(file.add(), 0);
    }
    MakerList list(file);
    list.addSortOrder(ByMaker);
    list.setPageSize(5);
    list.load();
    ASSERT_EQ(list.model().rows(), 3);
    const std::int64_t third = list.model().row(2).position;
    list.setHighlighted(2);
    ASSERT_EQ(list.fetchHighlighted(), 0);
    EXPECT_EQ(file.position(), third);
    ASSERT_EQ(file.erase(), 0);
    list.reset(true);
    ASSERT_EQ(list.model().rows(), 2);
    EXPECT_LT(list.model().row(1).position, third);
    EXPECT_EQ(list.highlighted(), 1);
}

TEST_F(ListEqualKeysPlaces, FileOrderPagesByPosition)
{
    fill({300, 9, true, ""});
    remember();
    MakerList list(file);
    list.addSortOrder(FileOrder);
    list.setPageSize(9);
    std::vector<int> inFile;
    for (const auto& record : m_records)
        inFile.push_back(record.second);
    list.load();
    EXPECT_EQ(sweep(list, [&] { list.pageDown(); }, true), inFile);
    EXPECT_EQ(sweep(list, [&] { list.pageUp(); }, false), inFile);
    const auto reads = list.model().recordsRead();
    list.pageDown();
    EXPECT_LE(list.model().recordsRead() - reads, 11); // a page and one look ahead
}

} // namespace
