#include "platform/ui/Clock.h"

#include "platform/text/DayNumber.h"

#include <QDateTime>

namespace platform::ui {

std::optional<Clock::Fixed>& Clock::fixed()
{
    static std::optional<Fixed> value;
    return value;
}

int32_t Clock::today()
{
    if (fixed())
        return fixed()->day;
    const QDate date = QDate::currentDate();
    return text::dayNumber(date.year(), date.month(), date.day());
}

int32_t Clock::clock()
{
    if (fixed())
        return fixed()->clock;
    const QTime time = QTime::currentTime();
    return text::clockValue(time.hour(), time.minute(), time.second(), time.msec() / 10);
}

void Clock::setFixed(int32_t dayNumber, int32_t clockValue)
{
    fixed() = Fixed{dayNumber, clockValue < 1 ? 1 : clockValue};
}

void Clock::setFixed(int year, int month, int day, int hours, int minutes, int seconds)
{
    setFixed(text::dayNumber(year, month, day), text::clockValue(hours, minutes, seconds));
}

void Clock::clearFixed()
{
    fixed().reset();
}

bool Clock::isFixed()
{
    return fixed().has_value();
}

} // namespace platform::ui
