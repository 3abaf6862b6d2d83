#include "platform/ui/BatchProcess.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgressWindow.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

using namespace platform::ui;
using platform::text::w;

namespace {

// Walks the numbers of a vector; the "buffer" is the current one.
class NumberProcess : public BatchProcess
{
public:
    NumberProcess(std::vector<int> numbers, int64_t expected)
        : BatchProcess([this] { return advance(); }, expected)
        , m_numbers(std::move(numbers))
    {
    }

    std::function<int(NumberProcess&)> onRecord;
    std::vector<int> seen;
    std::vector<int> percents;
    int releases = 0;
    bool windowGoneAtRelease = false;

protected:
    int takeRecord() override
    {
        seen.push_back(m_numbers[m_position - 1]);
        percents.push_back(window()->percent());
        return onRecord ? onRecord(*this) : Level::Benign;
    }
    void release() override
    {
        ++releases;
        windowGoneAtRelease = window() == nullptr;
    }

private:
    bool advance()
    {
        if (m_position == m_numbers.size())
            return false;
        ++m_position;
        return true;
    }

    std::vector<int> m_numbers;
    std::size_t m_position = 0;
};

class BatchProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = setMessageHandler([this](const MessageRequest& request) {
            messages.push_back(request);
            return Button::Ok;
        });
    }
    void TearDown() override { setMessageHandler(m_previous); }

    ProgressWindow window;
    std::vector<MessageRequest> messages;
    MessageHandler m_previous;
};

TEST_F(BatchProcessTest, WalksEveryRecordInOrderThenReleases)
{
    NumberProcess process({5, 7, 9}, 3);
    EXPECT_EQ(process.run(window), Response::Completed);
    EXPECT_EQ(process.seen, (std::vector<int>{5, 7, 9}));
    EXPECT_EQ(process.releases, 1);
    EXPECT_TRUE(process.windowGoneAtRelease);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.percentText(), QStringLiteral("100% Completed"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(BatchProcessTest, StopEndsAfterThatRecordWithTheOperationsResponse)
{
    NumberProcess process({1, 2, 3, 4}, 4);
    process.onRecord = [](NumberProcess& self) {
        if (self.seen.size() < 2)
            return Level::Benign;
        self.setResponse(Response::Completed);
        return Level::Fatal;
    };
    EXPECT_EQ(process.run(window), Response::Completed);
    EXPECT_EQ(process.seen, (std::vector<int>{1, 2}));
    EXPECT_EQ(process.releases, 1);
}

TEST_F(BatchProcessTest, CancelButtonOrCloseBoxStopsBeforeTheNextRecord)
{
    NumberProcess process({1, 2, 3, 4}, 4);
    process.onRecord = [](NumberProcess& self) {
        if (self.seen.size() == 2)
            self.window()->cancelButton()->click();
        return Level::Benign;
    };
    EXPECT_EQ(process.run(window), Response::Cancelled);
    EXPECT_EQ(process.seen, (std::vector<int>{1, 2}));

    NumberProcess closed({1, 2, 3}, 3);
    closed.onRecord = [](NumberProcess& self) {
        self.window()->close();
        return Level::Benign;
    };
    ProgressWindow second;
    EXPECT_EQ(closed.run(second), Response::Cancelled);
    EXPECT_EQ(closed.seen.size(), 1u);
    EXPECT_EQ(closed.releases, 1);
}

TEST_F(BatchProcessTest, NoRecordsGivesTheNoticeAndNoWindow)
{
    NumberProcess process({}, 0);
    EXPECT_EQ(process.run(window), Response::Completed);
    EXPECT_EQ(process.releases, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, w("Нет записей"));
    EXPECT_EQ(messages[0].text, w("Нет доступных для процесса записей."));
}

TEST_F(BatchProcessTest, PercentageRisesDuringALongWalk)
{
    std::vector<int> numbers(50000);
    NumberProcess process(numbers, 50000);
    process.onRecord = [](NumberProcess&) { // two microseconds a record: several slices
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(2);
        while (std::chrono::steady_clock::now() < until) {
        }
        return Level::Benign;
    };
    EXPECT_EQ(process.run(window), Response::Completed);
    EXPECT_EQ(process.processed(), 50000);
    EXPECT_GT(process.percents.back(), 0);
    EXPECT_TRUE(std::is_sorted(process.percents.begin(), process.percents.end()));

    // More records than expected: the walk still goes to the end.
    NumberProcess more({1, 2, 3, 4}, 2);
    ProgressWindow second;
    EXPECT_EQ(more.run(second), Response::Completed);
    EXPECT_EQ(more.processed(), 4);
}

} // namespace
