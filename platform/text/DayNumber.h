#pragma once

#include <cstdint>

// Dates as day numbers counted from 28 December 1800: 1 January 1801 is day 4.
namespace platform::text {

struct CalendarDate
{
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const CalendarDate&) const = default;
};

// 0 for a date before 1 January 1801, after 31 December 9999 or an invalid date.
int32_t dayNumber(int year, int month, int day);
int32_t dayNumber(const CalendarDate& date);
// A day number below 4 or beyond 31 December 9999 gives {0, 0, 0}.
CalendarDate calendarDate(int32_t dayNumber);

// Clock values: hundredths of a second since midnight plus one; 0 for an impossible time.
int32_t clockValue(int hours, int minutes, int seconds = 0, int hundredths = 0);

} // namespace platform::text
