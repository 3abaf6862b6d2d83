#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/Layout.h"
#include "platform/storage/LogicalThread.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/FixedString.h"
#include "platform/ui/list/BrowseList.h"
#include "tests/support/DamagedPages.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace platform::ui;
using platform::storage::RecordFile;

namespace {

#pragma pack(push, 1)
struct NumberRecord
{
    int32_t number;
    platform::text::FixedString<40> name;
};
#pragma pack(pop)

platform::storage::FileLayout numberLayout()
{
    return platform::storage::LayoutBuilder<NumberRecord>("NUMBERS", "NB")
        .field("NUMBER", &NumberRecord::number)
        .field("NAME", &NumberRecord::name)
        .key("bynumber", {"NUMBER"}, {.unique = true})
        .build();
}

struct Report
{
    int code;
    std::string file;
    std::string action;
};

class RecordingReporter : public platform::storage::ErrorReporter
{
public:
    void reportFileError(int code, std::string_view file, std::string_view action) override
    {
        reports.push_back({code, std::string(file), std::string(action)});
    }
    std::vector<Report> reports;
};

// A list over numbers 1..Records whose last page of records on disk was damaged: paging down
// meets the damage only near the end of the order.
class ListDamage : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::storage::setCurrentThread(1);
        ASSERT_EQ(m_file.create(), 0);
        ASSERT_EQ(m_file.open(), 0);
        m_file.stream();
        for (int i = 1; i <= Records; ++i) {
            m_file.clearBuffer();
            m_file.record<NumberRecord>().number = i;
            m_file.record<NumberRecord>().name = "record number " + std::to_string(i);
            ASSERT_EQ(m_file.add(), 0);
        }
        ASSERT_EQ(m_file.flush(), 0);
        ASSERT_EQ(m_file.close(), 0);

        // Not the last page, which the list reads at once for its scroll bar.
        m_lost = testsupport::damageRecordPage(m_folder.file("numbers.tps"), 1);
        ASSERT_EQ(m_file.open(), 0);
    }
    void TearDown() override { m_file.close(); }

    static constexpr int Records = 3000;
    testsupport::TempWorkFolder m_folder;
    RecordFile m_file{numberLayout()};
    std::set<int64_t> m_lost;
};

// The damage is said with its code, the file and the operation when the paging meets it, the
// rows read before it stay, and it is said once while the list keeps meeting it; a list that
// read well in between says it again.
TEST_F(ListDamage, IsSaidWhenThePagingMeetsItAndOnceWhileItGoesOn)
{
    RecordingReporter reporter;
    BrowseList list(m_file);
    list.addField(0);
    list.addSortOrder(0);
    list.setPageSize(25);
    list.setErrorReporter(&reporter);
    const auto pageDownToTheEnd = [&] {
        for (int pages = 0; !list.model().atEnd() && pages < Records; ++pages)
            list.pageDown();
    };
    list.load();
    EXPECT_TRUE(reporter.reports.empty());
    pageDownToTheEnd();
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_EQ(reporter.reports[0].code, platform::storage::Error::DamagedDataFile);
    EXPECT_EQ(reporter.reports[0].file, "numbers.tps");
    EXPECT_EQ(reporter.reports[0].action, "Next");
    ASSERT_GT(list.model().rows(), 0);
    const int lastShown = std::stoi(list.model().row(list.model().rows() - 1).cells.at(0));
    EXPECT_EQ(lastShown, *m_lost.begin() - 1);

    list.pageDown();
    list.lineDown();
    EXPECT_EQ(reporter.reports.size(), 1u);
    list.home();
    pageDownToTheEnd();
    EXPECT_EQ(reporter.reports.size(), 2u);
}

} // namespace
