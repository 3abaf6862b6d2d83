#include "platform/ui/Clock.h"

#include "platform/text/DayNumber.h"

#include <gtest/gtest.h>

using platform::ui::Clock;

namespace {

TEST(ClockTest, FixedDateAndTimeUntilCleared)
{
    Clock::setFixed(2026, 12, 8, 14, 30, 5);
    EXPECT_EQ(Clock::today(), platform::text::dayNumber(2026, 12, 8));
    EXPECT_EQ(Clock::clock(), ((14 * 60 + 30) * 60 + 5) * 100 + 1);
    Clock::setFixed(4, 0); // 1 January 1801, midnight
    EXPECT_EQ(Clock::today(), 4);
    EXPECT_EQ(Clock::clock(), 1);

    Clock::clearFixed();
    EXPECT_GT(Clock::today(), platform::text::dayNumber(2020, 1, 1));
    EXPECT_GE(Clock::clock(), 1);
    EXPECT_LE(Clock::clock(), 24 * 60 * 60 * 100);
}

} // namespace
