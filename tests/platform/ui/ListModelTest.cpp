#include "platform/storage/Layout.h"
#include "platform/storage/LogicalThread.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"
#include "platform/text/FixedString.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/ListFormat.h"
#include "platform/ui/list/ListModel.h"
#include "platform/ui/list/StepLocator.h"
#include "platform/ui/list/TypeAheadLocator.h"
#include "tests/support/TempWorkFolder.h"

#include <QAbstractItemModelTester>
#include <QColor>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace platform::ui;
using platform::storage::RecordFile;

namespace {

#pragma pack(push, 1)
struct NameRecord
{
    platform::text::FixedString<20> name;
    int32_t number;
};
#pragma pack(pop)

platform::storage::FileLayout nameLayout()
{
    return platform::storage::LayoutBuilder<NameRecord>("NAMES", "NM")
        .field("NAME", &NameRecord::name)
        .field("NUMBER", &NameRecord::number)
        .key("byname", {"NAME"}, {.noCase = true})
        .key("bynumber", {"NUMBER"}, {.unique = true})
        .build();
}

constexpr int ByName = 0;
constexpr int ByNumber = 1;

// "name0000" ... with every tenth name given twice (another number), so the name key has
// duplicates; numbers are unique.
std::string nameOf(int i)
{
    char text[16];
    std::snprintf(text, sizeof text, "name%04d", i);
    return text;
}

class ListModelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::storage::setCurrentThread(1);
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
    }
    void TearDown() override { file.close(); }

    void fill(int count)
    {
        file.stream();
        for (int i = 0; i < count; ++i) {
            add(nameOf(i), i);
            if (i % 10 == 0)
                add(nameOf(i), 100000 + i);
        }
        file.flush();
    }
    void add(const std::string& name, int number)
    {
        file.clearBuffer();
        record().name = name;
        record().number = number;
        ASSERT_EQ(file.add(), 0);
    }
    NameRecord& record() { return file.record<NameRecord>(); }

    static std::vector<std::string> names(const ListModel& model)
    {
        std::vector<std::string> out;
        for (int r = 0; r < model.rows(); ++r)
            out.push_back(model.row(r).cells.at(0));
        return out;
    }

    testsupport::TempWorkFolder folder;
    RecordFile file{nameLayout()};
};

// A list over the name key, both columns shown.
class NameList : public BrowseList
{
public:
    explicit NameList(RecordFile& file) : BrowseList(file)
    {
        addField(0);
        addField(1);
    }
};

TEST_F(ListModelTest, PassesTheItemModelChecksInBothLoadings)
{
    fill(50);
    NameList list(file);
    list.addSortOrder(ByName);
    list.setPageSize(7);
    QAbstractItemModelTester pageChecks(&list.model(),
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.load();
    list.pageDown();
    list.end();
    list.lineUp();
    list.setWholeFile(true);
    list.load();
    EXPECT_EQ(list.model().rows(), 55);
    EXPECT_EQ(list.model().columnCount(), 2);
}

TEST_F(ListModelTest, PageLoadingReadsAboutOnePage)
{
    fill(1000);
    NameList list(file);
    list.addSortOrder(ByName);
    list.setPageSize(10);
    list.load();
    EXPECT_EQ(list.model().rows(), 10);
    EXPECT_LE(list.model().recordsRead(), 12);
    EXPECT_EQ(list.model().row(0).cells[0], "name0000");

    const auto before = list.model().recordsRead();
    list.end();
    EXPECT_LE(list.model().recordsRead() - before, 12);
    EXPECT_EQ(list.model().row(9).cells[0], "name0999");
    EXPECT_EQ(list.highlighted(), 9);
    EXPECT_TRUE(list.model().atEnd());

    const auto beforeLine = list.model().recordsRead();
    list.home();
    list.setHighlighted(9);
    list.lineDown();
    EXPECT_LE(list.model().recordsRead() - beforeLine, 25);
    EXPECT_EQ(list.highlighted(), 9);
}

TEST_F(ListModelTest, PagingVisitsEveryRecordOnceInKeyOrderBothWays)
{
    fill(95); // 105 records; names with duplicates on every page boundary somewhere
    NameList list(file);
    list.addSortOrder(ByName);
    list.setPageSize(8);
    list.load();
    std::vector<std::string> seen;
    std::vector<std::string> numbers;
    for (;;) {
        numbers.push_back(list.model().row(list.highlighted()).cells[1]);
        seen.push_back(list.model().row(list.highlighted()).cells[0]);
        const int before = list.highlighted();
        const auto page = names(list.model());
        list.lineDown();
        if (list.highlighted() == before && names(list.model()) == page)
            break;
    }
    ASSERT_EQ(seen.size(), 105u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(std::unique(numbers.begin(), numbers.end()), numbers.end());

    std::vector<std::string> back;
    for (;;) {
        back.push_back(list.model().row(list.highlighted()).cells[1]);
        const int before = list.highlighted();
        const auto page = names(list.model());
        list.lineUp();
        if (list.highlighted() == before && names(list.model()) == page)
            break;
    }
    EXPECT_EQ(back.size(), 105u);
}

TEST_F(ListModelTest, PageUpAndDownMoveByWholePages)
{
    fill(100);
    NameList list(file);
    list.addSortOrder(ByNumber);
    list.setPageSize(10);
    list.load();
    list.pageDown();
    EXPECT_EQ(list.model().row(0).cells[1], "10");
    list.pageDown();
    list.pageUp();
    EXPECT_EQ(list.model().row(0).cells[1], "10");
    list.pageUp();
    list.pageUp();
    EXPECT_EQ(list.model().row(0).cells[1], "0");
    EXPECT_EQ(list.highlighted(), 0);
}

TEST_F(ListModelTest, ResetToBufferHighlightsTheRecordAndFillsThePageNearTheEnd)
{
    fill(100);
    NameList list(file);
    list.addSortOrder(ByNumber);
    list.setPageSize(10);
    list.load();

    file.clearBuffer();
    record().number = 40;
    list.resetToBuffer();
    EXPECT_EQ(list.model().row(list.highlighted()).cells[1], "40");
    EXPECT_EQ(list.highlighted(), 0);

    // The last records of the file: the page shows the ten last, the found one highlighted.
    file.clearBuffer();
    record().number = 100095;
    list.resetToBuffer();
    ASSERT_EQ(list.model().rows(), 10);
    EXPECT_EQ(list.model().row(list.highlighted()).cells[1], "100090");
    EXPECT_EQ(list.model().row(9).cells[1], "100090");

    // Beyond the last record: the last page, the last row highlighted.
    file.clearBuffer();
    record().number = 999999;
    list.resetToBuffer();
    EXPECT_EQ(list.highlighted(), 9);
}

TEST_F(ListModelTest, FetchFindsTheRowsOwnRecordAmongEqualKeys)
{
    fill(30);
    NameList list(file);
    list.addSortOrder(ByName);
    list.setWholeFile(true);
    list.load();
    // name0010 is listed twice; the second one's record is brought back and changed.
    int second = -1;
    for (int r = 0; r < list.model().rows(); ++r)
        if (list.model().row(r).cells[1] == "100010")
            second = r;
    ASSERT_GE(second, 0);
    list.setHighlighted(second);
    ASSERT_EQ(list.fetchHighlighted(), 0);
    EXPECT_EQ(record().number, 100010);
    record().name = "zzz";
    ASSERT_EQ(file.put(), 0);
    list.resetToBuffer();
    EXPECT_EQ(list.model().row(list.highlighted()).cells[0], "zzz");
    EXPECT_EQ(list.model().row(list.highlighted() - 1).cells[0], "name0029");
}

TEST_F(ListModelTest, FetchOfARecordDeletedMeanwhileSaysNotFound)
{
    fill(5);
    NameList list(file);
    list.addSortOrder(ByName);
    list.setWholeFile(true);
    list.load();
    list.setHighlighted(2);
    ASSERT_EQ(list.fetchHighlighted(), 0);
    ASSERT_EQ(file.erase(), 0);
    EXPECT_EQ(list.fetchHighlighted(), 35);
}

TEST_F(ListModelTest, StepLocatorGoesToTheFirstRecordAtOrAfterTheLetterIgnoringCase)
{
    add("Anna", 1);
    add("boris", 2);
    add("Dmitri", 3);
    add("mark", 4);
    add("Maria", 5);
    add("zoe", 6);
    NameList list(file);
    SortOrder& order = list.addSortOrder(ByName);
    order.setLocator(std::make_unique<StepLocator>(0));
    list.setPageSize(3);
    list.load();

    EXPECT_TRUE(list.takeCharacter('m'));
    EXPECT_EQ(list.model().row(list.highlighted()).cells[0], "Maria");
    EXPECT_TRUE(list.takeCharacter('C'));
    EXPECT_EQ(list.model().row(list.highlighted()).cells[0], "Dmitri");
    EXPECT_TRUE(list.takeCharacter('Z'));
    EXPECT_EQ(list.model().row(list.highlighted()).cells[0], "zoe");
    // A step locator starts again with every letter.
    EXPECT_EQ(list.locator()->text(), "Z");
}

TEST_F(ListModelTest, TypeAheadLocatorAddsUpTheTypedTextAndShowsIt)
{
    add("Anna", 1);
    add("Maria", 2);
    add("mark", 3);
    add("Martin", 4);
    add("Mikhail", 5);
    NameList list(file);
    SortOrder& order = list.addSortOrder(ByName);
    auto locator = std::make_unique<TypeAheadLocator>(0);
    std::string shown;
    locator->setShown([&](const std::string& text) { shown = text; });
    order.setLocator(std::move(locator));
    list.setWholeFile(true);
    list.load();

    list.takeCharacter('m');
    list.takeCharacter('A');
    list.takeCharacter('r');
    list.takeCharacter('t');
    EXPECT_EQ(shown, "mArt");
    EXPECT_EQ(list.model().row(list.highlighted()).cells[0], "Martin");
    EXPECT_TRUE(list.takeBackspace());
    EXPECT_EQ(shown, "mAr");
    EXPECT_EQ(list.model().row(list.highlighted()).cells[0], "Maria");
    // Moving the highlight otherwise forgets the typed text.
    list.lineDown();
    EXPECT_EQ(shown, "");
    EXPECT_FALSE(list.takeBackspace());
}

// Hooks: the validation hook leaves records out, the row fill colours cells, the page fill and
// reload run, and a changed reset field makes the list read itself again.
class HookedList : public NameList
{
public:
    explicit HookedList(RecordFile& file) : NameList(file) {}

    bool validateRecord() override { return file().record<NameRecord>().number % 2 == 0; }
    void setQueueRecord(ListRow& row) override
    {
        if (file().record<NameRecord>().number % 4 == 0)
            row.colours[0] = {0x0000FF, 0x00FF00, 0xFFFFFF, 0x800000};
        row.icons[1] = 1;
    }
    void pageFilled() override { ++pages; }
    void highlightChanged(int) override { ++highlights; }
    int chooseSortOrder() override { return order; }
    void reloaded() override { ++reloads; }

    int pages = 0;
    int highlights = 0;
    int reloads = 0;
    int order = 0;
};

TEST_F(ListModelTest, HooksFilterColourAndReload)
{
    fill(20);
    HookedList list(file);
    int32_t resetValue = 1;
    list.addSortOrder(ByNumber).addResetField(resetValue);
    list.addSortOrder(ByName, "NM:NUMBER < 10");
    list.setWholeFile(true);
    list.load();
    EXPECT_EQ(list.model().rows(), 12); // 0,2,...,18 and 100000, 100010
    EXPECT_EQ(list.pages, 1);
    EXPECT_EQ(list.reloads, 1);

    const ListModel& model = list.model();
    EXPECT_EQ(model.data(model.index(0, 0), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::BackgroundRole).value<QColor>(), QColor(0, 255, 0));
    EXPECT_EQ(model.data(model.index(0, 0), ListModel::SelectedBackRole).value<QColor>(),
              QColor(0, 0, 128));
    EXPECT_FALSE(model.data(model.index(1, 0), Qt::BackgroundRole).isValid());

    list.reset(false);
    EXPECT_EQ(list.reloads, 1); // nothing changed
    resetValue = 2;
    list.reset(false);
    EXPECT_EQ(list.reloads, 2);

    list.order = 1; // the sort-order choice switches to names under a filter
    list.reset(false);
    EXPECT_EQ(list.currentSortOrder(), 1);
    EXPECT_EQ(model.rows(), 5);
    EXPECT_EQ(model.row(0).cells[0], "name0000");
}

TEST(ListFormat, TextRoundTrip)
{
    ListFormat format({{294, 'L', false, false, 1, 0x800000, "Manager"},
                       {80, 'R', true, true, 0, 0xFF0000, "E~mail"},
                       {20, 'C', false, false, 0, -1, ""}});
    const std::string text = format.text();
    EXPECT_EQ(text, "294LY1C800000~Manager~|80RI*CFF0000~E~~mail~|20C~~");
    const auto read = ListFormat::parse(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, format);
}

TEST(ListFormat, RejectsTextsThatAreNotFormats)
{
    EXPECT_FALSE(ListFormat::parse("L~x~"));
    EXPECT_FALSE(ListFormat::parse("20X~x~"));
    EXPECT_FALSE(ListFormat::parse("20L~unterminated"));
    EXPECT_FALSE(ListFormat::parse("20L~a~|"));
    EXPECT_FALSE(ListFormat::parse("20LQ~a~"));
    EXPECT_FALSE(ListFormat::parse("20LY~a~"));
    EXPECT_TRUE(ListFormat::parse(""));
    EXPECT_TRUE(ListFormat::parse("")->columns().empty());
}

TEST(ListFormat, ReadsNoFurtherThanTheColumnsAsked)
{
    std::string many;
    for (int i = 0; i < 20000; ++i)
        many += (many.empty() ? "" : "|") + std::string("40L~c~");
    const auto first3 = ListFormat::parse(many, 3);
    ASSERT_TRUE(first3);
    EXPECT_EQ(first3->columns().size(), 3u);
    EXPECT_EQ(ListFormat::parse(many)->columns().size(), 20000u);
    // What follows the columns asked for is not looked at, whatever it holds.
    const auto head = ListFormat::parse("50R~Код~|100L~Обозначение~|not a format", 2);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->text(), "50R~Код~|100L~Обозначение~");
    // Fewer columns than asked are read as they are.
    EXPECT_EQ(ListFormat::parse("50R~a~", 4)->columns().size(), 1u);
    EXPECT_FALSE(ListFormat::parse("50R~a~|bad", 4));
}

} // namespace
