#include "DayNumber.h"

namespace platform::text {

namespace {

constexpr int kFirstYear = 1801;
constexpr int kLastYear = 9999; // dates are shown with four-digit years

bool isLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

// Days from 1 March of year 0 of the proleptic Gregorian calendar (March-based years put the
// leap day at the end, so the month lengths follow a fixed pattern).
int64_t daysFromCivil(int year, int month, int day)
{
    const int y = month <= 2 ? year - 1 : year;
    const int era = y / 400; // years are positive here
    const int yearOfEra = y - era * 400;
    const int monthFromMarch = month > 2 ? month - 3 : month + 9;
    const int dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<int64_t>(era) * 146097 + dayOfEra;
}

CalendarDate civilFromDays(int64_t days)
{
    const int64_t era = days / 146097;
    const int dayOfEra = static_cast<int>(days - era * 146097);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthFromMarch = (5 * dayOfYear + 2) / 153;
    CalendarDate date;
    date.day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    date.month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    date.year = static_cast<int>(era * 400 + yearOfEra) + (date.month <= 2 ? 1 : 0);
    return date;
}

// 1 January 1801 is day 4.
const int64_t kOffset = daysFromCivil(kFirstYear, 1, 1) - 4;
const int32_t kLastDayNumber = static_cast<int32_t>(daysFromCivil(kLastYear, 12, 31) - kOffset);

} // namespace

int32_t dayNumber(int year, int month, int day)
{
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month))
        return 0;
    return static_cast<int32_t>(daysFromCivil(year, month, day) - kOffset);
}

int32_t dayNumber(const CalendarDate& date)
{
    return dayNumber(date.year, date.month, date.day);
}

CalendarDate calendarDate(int32_t dayNumber)
{
    if (dayNumber < 4 || dayNumber > kLastDayNumber)
        return {};
    return civilFromDays(dayNumber + kOffset);
}

int32_t clockValue(int hours, int minutes, int seconds, int hundredths)
{
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 ||
        hundredths < 0 || hundredths > 99)
        return 0;
    return ((hours * 60 + minutes) * 60 + seconds) * 100 + hundredths + 1;
}

} // namespace platform::text
