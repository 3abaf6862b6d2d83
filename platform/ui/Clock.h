#pragma once

#include <cstdint>
#include <optional>

// TODAY and CLOCK of the runtime, from the local system clock. Tests fix both so that dates and
// times written by the program are known in advance.
namespace platform::ui {

class Clock
{
public:
    // Day number of the current local date, counted from 28 December 1800 (1 January 1801 is
    // day 4).
    static int32_t today();
    // Hundredths of a second since local midnight plus one (1 is 00:00:00.00).
    static int32_t clock();

    // Fixes TODAY and CLOCK until clearFixed(); clock 0 means midnight (1).
    static void setFixed(int32_t dayNumber, int32_t clockValue);
    static void setFixed(int year, int month, int day, int hours = 0, int minutes = 0,
                         int seconds = 0);
    static void clearFixed();
    static bool isFixed();

private:
    struct Fixed
    {
        int32_t day = 0;
        int32_t clock = 1;
    };
    static std::optional<Fixed>& fixed();
};

} // namespace platform::ui
