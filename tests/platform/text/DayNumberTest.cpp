#include "platform/text/DayNumber.h"

#include <gtest/gtest.h>

using namespace platform::text;

TEST(DayNumber, KnownDays)
{
    struct Case
    {
        int year, month, day;
        int32_t number;
    };
    const Case cases[] = {
        {1801, 1, 1, 4},      {1801, 1, 2, 5},         {1801, 12, 31, 368}, {1802, 1, 1, 369},
        {1900, 2, 28, 36221}, {1900, 3, 1, 36222}, // 1900 is not a leap year
        {2000, 2, 29, 72746}, {2000, 3, 1, 72747}, // 2000 is
        {2026, 12, 8, 82525}, {9999, 12, 31, 2994626},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dayNumber(c.year, c.month, c.day), c.number)
            << c.year << '-' << c.month << '-' << c.day;
        EXPECT_EQ(calendarDate(c.number), (CalendarDate{c.year, c.month, c.day})) << c.number;
    }
}

TEST(DayNumber, RoundTripOverTheWholeRange)
{
    int32_t expected = 4;
    for (int year = 1801; year <= 9999; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= 31; ++day) {
                const int32_t n = dayNumber(year, month, day);
                if (n == 0)
                    continue; // day beyond the month's end
                ASSERT_EQ(n, expected) << year << '-' << month << '-' << day;
                ASSERT_EQ(calendarDate(n), (CalendarDate{year, month, day}));
                ++expected;
            }
}

TEST(DayNumber, InvalidDatesAndNumbers)
{
    EXPECT_EQ(dayNumber(1800, 12, 31), 0);
    EXPECT_EQ(dayNumber(1800, 12, 28), 0);
    EXPECT_EQ(dayNumber(10000, 1, 1), 0);
    EXPECT_EQ(dayNumber(1900, 2, 29), 0);
    EXPECT_EQ(dayNumber(2023, 2, 29), 0);
    EXPECT_EQ(dayNumber(2024, 4, 31), 0);
    EXPECT_EQ(dayNumber(2024, 0, 1), 0);
    EXPECT_EQ(dayNumber(2024, 13, 1), 0);
    EXPECT_EQ(dayNumber(2024, 1, 0), 0);
    EXPECT_EQ(dayNumber(CalendarDate{}), 0);
    EXPECT_EQ(dayNumber(CalendarDate{2024, 2, 29}), dayNumber(2024, 2, 29));
    for (int32_t n : {-1, 0, 3, 2994627, INT32_MAX, INT32_MIN})
        EXPECT_EQ(calendarDate(n), CalendarDate{}) << n;
}

TEST(DayNumber, ClockValue)
{
    EXPECT_EQ(clockValue(0, 0), 1);
    EXPECT_EQ(clockValue(9, 5), 3270001);
    EXPECT_EQ(clockValue(23, 59, 59, 99), 8640000);
    EXPECT_EQ(clockValue(24, 0), 0);
    EXPECT_EQ(clockValue(-1, 0), 0);
    EXPECT_EQ(clockValue(10, 60), 0);
    EXPECT_EQ(clockValue(10, 0, 0, 100), 0);
}
